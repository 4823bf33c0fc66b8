#include "controls/TACEdit.h"

#include <array>
#include <memory>
#include <stdexcept>

#include "controls/TEnumString.h"
#include "platform/com/ComObj.h"
#include "platform/com/ComRuntime.h"

namespace {

constexpr std::array<DWORD, 3> ACOptionFlags{ACO_AUTOAPPEND, ACO_AUTOSUGGEST, ACO_UPDOWNKEYDROPSLIST};

DWORD FlagsOf(TACOptions options) {
  DWORD flags = ACO_NONE;
  for (std::size_t option = 0; option < ACOptionFlags.size(); ++option)
    if (options.Contains(static_cast<TACOption>(option)))
      flags |= ACOptionFlags[option];
  return flags;
}

const CLSID &SourceClass(TACSource source) {
  switch (source) {
  case acsHistory: return CLSID_ACLHistory;
  case acsMRU: return CLSID_ACLMRU;
  default: return CLSID_ACListISF;
  }
}

bool HasNonEmptyEntry(const TTntStrings &list) {
  for (int i = 0; i < list.Count(); ++i)
    if (!list.Strings(i).empty())
      return true;
  return false;
}

struct TaskMemFree {
  void operator()(OLECHAR *block) const { CoTaskMemFree(block); }
};

} // namespace

TACEdit::TACEdit(QWidget *parent) : TTntEdit(parent) {
  if (!IsDesigning()) {
    const HRESULT hr = CoInitialize(nullptr);
    FComInitialized = hr == S_OK || hr == S_FALSE;
  }
}

TACEdit::~TACEdit() {
  FAutoComplete.Reset();
  FSourceEnum.Reset();
  if (FComInitialized)
    CoUninitialize();
}

void TACEdit::SetACList(const TTntStrings &value) { FACList.Assign(value); }

void TACEdit::SetACEnabled(bool value) {
  if (FAutoComplete)
    FAutoComplete->Enable(value ? 1 : 0);
  FACEnabled = value;
}

void TACEdit::SetACOptions(TACOptions value) {
  ComPtr<IAutoComplete2> autoComplete2;
  if (FAutoComplete && FAutoComplete.As(autoComplete2) == S_OK)
    autoComplete2->SetOptions(FlagsOf(value));
  FACOptions = value;
}

void TACEdit::SetACSource(TACSource value) {
  if (value == FACSource)
    return;
  FACSource = value;
  RecreateWnd();
}

void TACEdit::CreateWnd() {
  FAutoComplete.Reset(); // each window binds a fresh object
  TTntEdit::CreateWnd();
  if (!HandleAllocated() || !FComInitialized)
    return;
  void *autoComplete = nullptr;
  if (FAILED(CoCreateInstance(CLSID_AutoComplete, nullptr, CLSCTX_INPROC_SERVER, IAutoComplete::Iid,
                              &autoComplete)))
    return;
  FAutoComplete = ComPtr<IAutoComplete>::Attach(static_cast<IAutoComplete *>(autoComplete));
  if (!FSourceEnum)
    FSourceEnum = CreateSource();
  if (FAILED(FAutoComplete->Init(Handle(), FSourceEnum.Get(), nullptr, nullptr))) {
    FAutoComplete.Reset();
    throw std::runtime_error("Could not initialize AutoComplete");
  }
  SetACEnabled(FACEnabled);
  SetACOptions(FACOptions);
}

ComPtr<IEnumString> TACEdit::CreateSource() {
  if (FACSource == acsList)
    return ComPtr<IEnumString>(new TEnumString(FACList));
  return InterfaceCast<IEnumString>(CreateComObject(SourceClass(FACSource)));
}

void TACEdit::DestroyWnd() {
  if (FAutoComplete) {
    FAutoComplete.Reset();
    FSourceEnum.Reset();
  }
  TTntEdit::DestroyWnd();
}

void TACEdit::DoExit() {
  if (FACSource == acsList && FAutoAdd && !text().isEmpty())
    FACList.Add(text());
  TTntEdit::DoExit();
}

void TACEdit::KeyDown(int key, Qt::KeyboardModifiers shift) {
  if (FACSource == acsList && key == Qt::Key_Delete)
    DeleteSelectedEntry();
  TTntEdit::KeyDown(key, shift);
}

void TACEdit::DeleteSelectedEntry() {
  if (FACSource != acsList || !HasNonEmptyEntry(FACList) || !FAutoComplete)
    return;
  ComPtr<IAutoCompleteDropDown> dropDown;
  if (FAILED(FAutoComplete.As(dropDown)))
    return;
  DWORD flags = 0;
  LPOLESTR selected = nullptr;
  const HRESULT hr = dropDown->GetDropDownStatus(&flags, &selected);
  const std::unique_ptr<OLECHAR, TaskMemFree> selectedCopy(selected);
  if (FAILED(hr) || flags != ACDD_VISIBLE)
    return;
  int index;
  if (FACList.Find(selected ? QString::fromUtf16(selected) : QString(), index))
    FACList.Delete(index);
  dropDown->ResetEnumerator();
}
