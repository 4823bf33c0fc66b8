#pragma once
// The auto-complete object: a QCompleter bound to the edit and fed from the
// source's IEnumString. ACO_AUTOSUGGEST shows the matching entries in a
// drop-down while the user types, ACO_AUTOAPPEND completes the typed text
// inline with the first match (the added part selected), and
// ACO_UPDOWNKEYDROPSLIST opens the drop-down with the arrow keys. Matching is
// by prefix, without regard to case. A source with IACList is expanded to the
// folder typed so far.

#include <QObject>
#include <QPointer>

#include "platform/com/ComObject.h"
#include "platform/com/ComPtr.h"
#include "platform/shell/ShlObj.h"

class QCompleter;
class QLineEdit;
class QStringListModel;

class TAutoComplete final : public QObject, public ComObject<IAutoComplete2, IAutoCompleteDropDown> {
public:
  TAutoComplete() = default;
  ~TAutoComplete() override;

  HRESULT Init(HWND hwndEdit, IUnknown *punkACL, LPCOLESTR pwszRegKeyPath,
               LPCOLESTR pwszQuickComplete) override;
  HRESULT Enable(BOOL fEnable) override;
  HRESULT SetOptions(DWORD dwFlag) override;
  HRESULT GetDropDownStatus(DWORD *pdwFlags, LPOLESTR *ppwszString) override;
  HRESULT ResetEnumerator() override;

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  void TextEdited(const QString &text);
  // Brings the completer's list up to date with the source for the text typed.
  void ReadSource(const QString &typed);
  // Shows the entries read last that begin with `prefix`, or hides the
  // drop-down when there are none.
  void ShowDropDown(const QString &prefix);
  void HideDropDown();
  void AppendInline(const QString &typed);
  bool DropDownVisible() const;

  QPointer<QLineEdit> FEdit;
  QPointer<QCompleter> FCompleter;
  QStringListModel *FModel = nullptr; // owned by FCompleter
  ComPtr<IEnumString> FSource;
  ComPtr<IACList> FFolderSource;
  QString FExpandedFolder;
  bool FExpanded = false;
  QString FTyped;
  bool FEnabled = true;
  DWORD FOptions = ACO_AUTOAPPEND;
};
