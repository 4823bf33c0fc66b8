#include "platform/shell/TAutoComplete.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStringListModel>
#include <iterator>

#include "platform/com/ComRuntime.h"

namespace {

QStringList ReadAll(IEnumString *source) {
  QStringList strings;
  source->Reset();
  LPOLESTR batch[64];
  ULONG fetched = 0;
  HRESULT hr;
  do {
    hr = source->Next(std::size(batch), batch, &fetched);
    for (ULONG i = 0; i < fetched; ++i) {
      strings.append(QString::fromUtf16(batch[i]));
      CoTaskMemFree(batch[i]);
    }
  } while (hr == S_OK && fetched == std::size(batch));
  return strings;
}

QString FolderPart(const QString &typed) { return typed.left(typed.lastIndexOf(QLatin1Char('/')) + 1); }

} // namespace

TAutoComplete::~TAutoComplete() {
  if (FEdit)
    FEdit->removeEventFilter(this);
  delete FCompleter.data();
}

HRESULT TAutoComplete::Init(HWND hwndEdit, IUnknown *punkACL, LPCOLESTR, LPCOLESTR) {
  auto *edit = qobject_cast<QLineEdit *>(hwndEdit);
  if (!edit || !punkACL)
    return E_INVALIDARG;
  if (FEdit)
    return E_UNEXPECTED;
  ComPtr<IUnknown> source(punkACL);
  if (const HRESULT hr = source.As(FSource); FAILED(hr))
    return hr;
  source.As(FFolderSource);

  FEdit = edit;
  FCompleter = new QCompleter(edit);
  FModel = new QStringListModel(FCompleter);
  FCompleter->setModel(FModel);
  FCompleter->setCaseSensitivity(Qt::CaseInsensitive);
  FCompleter->setCompletionMode(QCompleter::PopupCompletion);
  FCompleter->setWidget(edit);
  connect(FCompleter, qOverload<const QString &>(&QCompleter::activated), this, [this](const QString &text) {
    FEdit->setText(text);
    FTyped = text;
  });
  connect(edit, &QLineEdit::textEdited, this, &TAutoComplete::TextEdited);
  edit->installEventFilter(this);
  return S_OK;
}

HRESULT TAutoComplete::Enable(BOOL fEnable) {
  FEnabled = fEnable != 0;
  if (!FEnabled)
    HideDropDown();
  return S_OK;
}

HRESULT TAutoComplete::SetOptions(DWORD dwFlag) {
  FOptions = dwFlag;
  if (!(FOptions & ACO_AUTOSUGGEST))
    HideDropDown();
  return S_OK;
}

HRESULT TAutoComplete::GetDropDownStatus(DWORD *pdwFlags, LPOLESTR *ppwszString) {
  const bool visible = DropDownVisible();
  if (pdwFlags)
    *pdwFlags = visible ? ACDD_VISIBLE : 0;
  if (ppwszString) {
    *ppwszString = nullptr;
    const QModelIndex selected = visible ? FCompleter->popup()->currentIndex() : QModelIndex();
    if (selected.isValid()) {
      const QString text = selected.data(FCompleter->completionRole()).toString();
      *ppwszString = CoTaskMemStrDup({reinterpret_cast<const char16_t *>(text.utf16()),
                                      static_cast<std::size_t>(text.size())});
      if (!*ppwszString)
        return E_OUTOFMEMORY;
    }
  }
  return S_OK;
}

HRESULT TAutoComplete::ResetEnumerator() {
  FExpanded = false;
  if (DropDownVisible()) {
    ReadSource(FCompleter->completionPrefix());
    ShowDropDown(FCompleter->completionPrefix());
  }
  return S_OK;
}

bool TAutoComplete::eventFilter(QObject *watched, QEvent *event) {
  if (watched == FEdit && event->type() == QEvent::KeyPress && FEnabled &&
      (FOptions & ACO_UPDOWNKEYDROPSLIST) && !DropDownVisible()) {
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key == Qt::Key_Down || key == Qt::Key_Up) {
      ReadSource(FEdit->text());
      ShowDropDown(FEdit->text());
      return DropDownVisible();
    }
  }
  return QObject::eventFilter(watched, event);
}

void TAutoComplete::TextEdited(const QString &text) {
  const bool grew = text.size() > FTyped.size();
  FTyped = text;
  if (!FEnabled)
    return;
  ReadSource(text);
  if ((FOptions & ACO_AUTOAPPEND) && grew && FEdit->cursorPosition() == text.size())
    AppendInline(text);
  if ((FOptions & ACO_AUTOSUGGEST) && !text.isEmpty())
    ShowDropDown(text);
  else
    HideDropDown();
}

void TAutoComplete::ReadSource(const QString &typed) {
  if (FFolderSource) {
    const QString folder = FolderPart(typed);
    if (!FExpanded || folder != FExpandedFolder) {
      FFolderSource->Expand(reinterpret_cast<LPCOLESTR>(folder.utf16()));
      FExpandedFolder = folder;
      FExpanded = true;
    }
  }
  const QStringList strings = ReadAll(FSource.Get());
  if (strings != FModel->stringList())
    FModel->setStringList(strings);
}

void TAutoComplete::ShowDropDown(const QString &prefix) {
  FCompleter->setCompletionPrefix(prefix);
  if (FCompleter->completionCount() > 0)
    FCompleter->complete();
  else
    HideDropDown();
}

void TAutoComplete::HideDropDown() {
  if (FCompleter)
    FCompleter->popup()->hide();
}

// Takes the first match whole, so that the letter case of a path stays right.
void TAutoComplete::AppendInline(const QString &typed) {
  FCompleter->setCompletionPrefix(typed);
  const QString match = FCompleter->currentCompletion();
  if (match.size() <= typed.size())
    return;
  FEdit->setText(match);
  FEdit->setSelection(static_cast<int>(typed.size()), static_cast<int>(match.size() - typed.size()));
}

bool TAutoComplete::DropDownVisible() const { return FCompleter && FCompleter->popup()->isVisible(); }
