#include "platform/shell/TShellFolderList.h"

#include <QDir>
#include <QFileInfo>

TShellFolderList::TShellFolderList() : TEnumString(FEntries) {}

HRESULT TShellFolderList::QueryInterface(REFIID riid, void **ppvObject) {
  if (ppvObject && riid == IACList::Iid) {
    *ppvObject = static_cast<IACList *>(this);
    AddRef();
    return S_OK;
  }
  return TEnumString::QueryInterface(riid, ppvObject);
}

HRESULT TShellFolderList::Expand(LPCOLESTR pszExpand) {
  QString folder = pszExpand ? QString::fromUtf16(pszExpand) : QString();
  std::vector<std::u16string> entries;
  if (!folder.isEmpty()) {
    if (!folder.endsWith(QLatin1Char('/')))
      folder += QLatin1Char('/');
    const QFileInfoList found = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    for (const QFileInfo &entry : found)
      entries.push_back((folder + entry.fileName() + (entry.isDir() ? QStringLiteral("/") : QString()))
                            .toStdU16String());
  }
  FEntries = TStringArray(std::move(entries));
  Reset();
  return S_OK;
}

TEnumString *TShellFolderList::NewEnumerator() const {
  auto *copy = new TShellFolderList;
  copy->FEntries = FEntries;
  return copy;
}
