#include "platform/shell/ShellAutoComplete.h"

#include "controls/TEnumString.h"
#include "platform/com/ComRuntime.h"
#include "platform/shell/TAutoComplete.h"
#include "platform/shell/TShellFolderList.h"

namespace {

// The history and most-recently-used lists of this platform hold nothing.
IUnknown *NewEmptyList() {
  static const TStringArray none;
  return new TEnumString(none);
}

} // namespace

void RegisterShellAutoComplete() {
  RegisterComClass(CLSID_AutoComplete, [] { return static_cast<IAutoComplete *>(new TAutoComplete); });
  RegisterComClass(CLSID_ACListISF, [] { return static_cast<IEnumString *>(new TShellFolderList); });
  RegisterComClass(CLSID_ACLHistory, NewEmptyList);
  RegisterComClass(CLSID_ACLMRU, NewEmptyList);
}
