#pragma once
// The file-system source of auto-completion: Expand lists the entries of the
// folder typed so far as full paths (folders end in "/", hidden entries are
// left out), and IEnumString hands them out.

#include "controls/TEnumString.h"
#include "platform/shell/ShlObj.h"

// The entries live in a base made before TEnumString, which refers to them.
struct TShellFolderEntries {
  TStringArray FEntries;
};

class TShellFolderList final : private TShellFolderEntries, public TEnumString, public IACList {
public:
  TShellFolderList();

  HRESULT QueryInterface(REFIID riid, void **ppvObject) override;
  ULONG AddRef() override { return TEnumString::AddRef(); }
  ULONG Release() override { return TEnumString::Release(); }

  HRESULT Expand(LPCOLESTR pszExpand) override;

protected:
  TEnumString *NewEnumerator() const override;
};
