#pragma once
// TACEdit: an edit that binds the shell's auto-completion to itself while it
// has a window (see TTntEdit for what that is). Its suggestions come from its
// own list of entries, the shell's history or most-recently-used lists, or the
// file system. With its own list as the source it also keeps the list:
// leaving the edit adds the typed text, the Delete key removes the entry
// selected in the drop-down.

#include <cstdint>
#include <initializer_list>

#include "controls/TTntEdit.h"
#include "controls/TTntStringList.h"
#include "platform/com/ComPtr.h"
#include "platform/shell/ShlObj.h"

enum TACOption : std::uint8_t { acAutoAppend, acAutoSuggest, acUseArrowKey };

// A set of TACOption in one byte, bit n for the option of ordinal n.
class TACOptions {
public:
  constexpr TACOptions() = default;
  constexpr TACOptions(std::initializer_list<TACOption> options) {
    for (const TACOption option : options)
      FBits |= static_cast<std::uint8_t>(1u << option);
  }
  constexpr bool Contains(TACOption option) const { return FBits >> option & 1u; }
  constexpr std::uint8_t Bits() const { return FBits; }
  friend constexpr bool operator==(TACOptions, TACOptions) = default;

private:
  std::uint8_t FBits = 0;
};

enum TACSource : std::uint8_t { acsList, acsHistory, acsMRU, acsShell };

class TACEdit : public TTntEdit {
  Q_OBJECT

public:
  explicit TACEdit(QWidget *parent = nullptr);
  ~TACEdit() override;

  TTntStringList &ACList() { return FACList; }
  // Copies the strings; the given list is not kept.
  void SetACList(const TTntStrings &value);
  bool ACEnabled() const { return FACEnabled; }
  void SetACEnabled(bool value);
  TACOptions ACOptions() const { return FACOptions; }
  void SetACOptions(TACOptions value);
  TACSource ACSource() const { return FACSource; }
  // A different source re-creates the window.
  void SetACSource(TACSource value);
  bool AutoAdd() const { return FAutoAdd; }
  void SetAutoAdd(bool value) { FAutoAdd = value; }

  // Removes the entry selected in the drop-down from the list.
  void DeleteSelectedEntry();

protected:
  void CreateWnd() override;
  void DestroyWnd() override;
  void DoExit() override;
  void KeyDown(int key, Qt::KeyboardModifiers shift) override;

private:
  ComPtr<IEnumString> CreateSource();

  ComPtr<IEnumString> FSourceEnum;
  ComPtr<IAutoComplete> FAutoComplete;
  TTntStringList FACList;
  bool FACEnabled = true;
  TACOptions FACOptions{acAutoSuggest, acUseArrowKey};
  TACSource FACSource = acsList;
  bool FComInitialized = false;
  bool FAutoAdd = true;
};
