#pragma once
// The shell's auto-completion: class identifiers, interfaces and flags.

#include "platform/com/Unknwn.h"

class QWidget;
// A window is addressed by its widget.
using HWND = QWidget *;

inline constexpr CLSID CLSID_AutoComplete = MakeGuid("{00BB2763-6A77-11D0-A535-00C04FD7D062}");
inline constexpr CLSID CLSID_ACLHistory = MakeGuid("{00BB2764-6A77-11D0-A535-00C04FD7D062}");
inline constexpr CLSID CLSID_ACLMRU = MakeGuid("{6756A641-DE71-11D0-831B-00AA005B4383}");
inline constexpr CLSID CLSID_ACListISF = MakeGuid("{03C036F1-A186-11D0-824A-00AA005B4383}");

inline constexpr DWORD ACO_NONE = 0x0;
inline constexpr DWORD ACO_AUTOSUGGEST = 0x1;
inline constexpr DWORD ACO_AUTOAPPEND = 0x2;
inline constexpr DWORD ACO_UPDOWNKEYDROPSLIST = 0x20;

inline constexpr DWORD ACDD_VISIBLE = 0x1;

struct IAutoComplete : IUnknown {
  using Base = IUnknown;
  static constexpr IID Iid = MakeGuid("{00BB2762-6A77-11D0-A535-00C04FD7D062}");

  // Binds completion from the source (an IEnumString) to the edit window.
  virtual HRESULT Init(HWND hwndEdit, IUnknown *punkACL, LPCOLESTR pwszRegKeyPath,
                       LPCOLESTR pwszQuickComplete) = 0;
  virtual HRESULT Enable(BOOL fEnable) = 0;

protected:
  ~IAutoComplete() = default;
};

struct IAutoComplete2 : IAutoComplete {
  using Base = IAutoComplete;
  static constexpr IID Iid = MakeGuid("{EAC04BC0-3791-11D2-BB95-0060977B464C}");

  virtual HRESULT SetOptions(DWORD dwFlag) = 0;

protected:
  ~IAutoComplete2() = default;
};

struct IAutoCompleteDropDown : IUnknown {
  using Base = IUnknown;
  static constexpr IID Iid = MakeGuid("{3CD141F4-3C6A-11D2-BCAA-00C04FD929DB}");

  // ACDD_VISIBLE while the drop-down shows, and the selected entry (or null)
  // in task memory that the caller frees.
  virtual HRESULT GetDropDownStatus(DWORD *pdwFlags, LPOLESTR *ppwszString) = 0;
  // Makes the drop-down read its source afresh.
  virtual HRESULT ResetEnumerator() = 0;

protected:
  ~IAutoCompleteDropDown() = default;
};

// A source whose list depends on the folder typed so far.
struct IACList : IUnknown {
  using Base = IUnknown;
  static constexpr IID Iid = MakeGuid("{77A130B0-94FD-11D0-A544-00C04FD7D062}");

  virtual HRESULT Expand(LPCOLESTR pszExpand) = 0;

protected:
  ~IACList() = default;
};
