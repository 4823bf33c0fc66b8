// TACEdit against fake shell objects that log every call made on them.

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <cstdio>
#include <gtest/gtest.h>

#include "controls/TACEdit.h"
#include "controls/TEnumString.h"
#include "platform/com/ComObj.h"
#include "platform/com/ComObject.h"
#include "platform/com/ComRuntime.h"
#include "tests/QtPrinters.h"

namespace {

using Log = std::vector<std::string>;

// What the fakes log and answer; one per test.
struct FakeShell {
  Log log;
  HRESULT initResult = S_OK;
  bool offersAutoComplete2 = true;
  DWORD dropDownFlags = 0;
  const char16_t *dropDownText = nullptr;
  HWND initWindow = nullptr;

  Log Take() { return std::exchange(log, {}); }
};

FakeShell *shell = nullptr;

std::string Utf8(std::u16string_view s) { return QString::fromUtf16(s.data(), s.size()).toStdString(); }

std::string Hex(DWORD value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

// "Init" with the strings the source hands out, joined by ",".
std::string DescribeInit(IUnknown *source) {
  ComPtr<IEnumString> strings;
  if (ComPtr<IUnknown>(source).As(strings) != S_OK)
    return "Init without IEnumString";
  strings->Reset();
  std::string description = "Init";
  LPOLESTR s = nullptr;
  ULONG fetched = 0;
  for (char separator = ' '; strings->Next(1, &s, &fetched) == S_OK; separator = ',') {
    description += separator + Utf8(s);
    CoTaskMemFree(s);
  }
  return description;
}

class FakeAutoComplete final : public ComObject<IAutoComplete2, IAutoCompleteDropDown> {
public:
  FakeAutoComplete() { shell->log.push_back("create AutoComplete"); }
  ~FakeAutoComplete() override { shell->log.push_back("release AutoComplete"); }

  HRESULT QueryInterface(REFIID riid, void **ppvObject) override {
    if (riid == IAutoComplete2::Iid && !shell->offersAutoComplete2) {
      *ppvObject = nullptr;
      return E_NOINTERFACE;
    }
    return ComObject::QueryInterface(riid, ppvObject);
  }
  HRESULT Init(HWND hwndEdit, IUnknown *punkACL, LPCOLESTR regKeyPath, LPCOLESTR quickComplete) override {
    EXPECT_EQ(regKeyPath, nullptr);
    EXPECT_EQ(quickComplete, nullptr);
    shell->initWindow = hwndEdit;
    shell->log.push_back(DescribeInit(punkACL));
    return shell->initResult;
  }
  HRESULT Enable(BOOL fEnable) override {
    shell->log.push_back("Enable " + std::to_string(fEnable));
    return S_OK;
  }
  HRESULT SetOptions(DWORD dwFlag) override {
    shell->log.push_back("SetOptions " + Hex(dwFlag));
    return S_OK;
  }
  HRESULT GetDropDownStatus(DWORD *pdwFlags, LPOLESTR *ppwszString) override {
    shell->log.push_back("GetDropDownStatus");
    *pdwFlags = shell->dropDownFlags;
    *ppwszString = shell->dropDownText ? CoTaskMemStrDup(shell->dropDownText) : nullptr;
    return S_OK;
  }
  HRESULT ResetEnumerator() override {
    shell->log.push_back("ResetEnumerator");
    return S_OK;
  }
};

struct FakeSourceNames {
  TStringArray names;
};

// A shell source list that hands out its own name.
class FakeSource final : private FakeSourceNames, public TEnumString {
public:
  explicit FakeSource(const std::string &name)
      : FakeSourceNames{TStringArray({QString::fromStdString(name).toStdU16String()})}, TEnumString(names),
        FName(name) {
    shell->log.push_back("create " + FName);
  }
  ~FakeSource() override { shell->log.push_back("release " + FName); }

private:
  std::string FName;
};

const std::vector<std::pair<CLSID, std::string>> SourceClasses{
    {CLSID_ACLHistory, "History"}, {CLSID_ACLMRU, "MRU"}, {CLSID_ACListISF, "ISF"}};

class TACEditTest : public testing::Test {
protected:
  void SetUp() override {
    shell = &fake;
    RegisterComClass(CLSID_AutoComplete, [] { return static_cast<IAutoComplete *>(new FakeAutoComplete); });
    for (const auto &[clsid, name] : SourceClasses)
      RegisterComClass(clsid, [name = name] { return new FakeSource(name); });
  }
  void TearDown() override {
    UnregisterComClass(CLSID_AutoComplete);
    for (const auto &entry : SourceClasses)
      UnregisterComClass(entry.first);
    EXPECT_EQ(CoInitializeCount(), 0);
    shell = nullptr;
  }

  static void Fill(TACEdit &edit, const std::vector<const char *> &entries) {
    for (const char *entry : entries)
      edit.ACList().Add(QString::fromUtf8(entry));
  }

  FakeShell fake;
};

QStringList Entries(TACEdit &edit) { return edit.ACList().ToStringList(); }

const Log DefaultBinding{"Enable 1", "SetOptions 0x21"};

Log Concat(Log a, const Log &b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(TACEditTest, StartsWithTheDefaults) {
  TACEdit edit;
  EXPECT_TRUE(edit.ACEnabled());
  EXPECT_EQ(edit.ACOptions().Bits(), 6);
  EXPECT_EQ(edit.ACSource(), acsList);
  EXPECT_TRUE(edit.AutoAdd());
  EXPECT_EQ(edit.ACList().Count(), 0);
  EXPECT_FALSE(edit.HandleAllocated());
  EXPECT_TRUE(fake.Take().empty());
}

TEST_F(TACEditTest, WindowCreationBindsAnAutoCompleteObjectToTheEditsOwnList) {
  TACEdit edit;
  Fill(edit, {"Birne", "Apfel"});
  edit.HandleNeeded();
  EXPECT_EQ(fake.Take(), Concat({"create AutoComplete", "Init Apfel,Birne"}, DefaultBinding));
  EXPECT_EQ(fake.initWindow, &edit);

  edit.HandleNeeded();
  EXPECT_TRUE(fake.Take().empty()) << "a window that exists is not made again";
}

TEST_F(TACEditTest, ShowingTheEditCreatesItsWindowOnce) {
  TACEdit edit;
  edit.show();
  EXPECT_TRUE(edit.HandleAllocated());
  EXPECT_EQ(fake.Take(), Concat({"create AutoComplete", "Init"}, DefaultBinding));
  edit.hide();
  edit.show();
  EXPECT_TRUE(fake.Take().empty());
}

struct OptionsCase {
  const char *name;
  TACOptions options;
  std::string flags;

  friend void PrintTo(const OptionsCase &c, std::ostream *os) { *os << c.name; }
};

class OptionsCases : public TACEditTest, public testing::WithParamInterface<OptionsCase> {};

TEST_P(OptionsCases, AreHandedToSetOptionsAsFlags) {
  const OptionsCase &c = GetParam();
  TACEdit edit;
  edit.SetACOptions(c.options);
  EXPECT_EQ(edit.ACOptions(), c.options);
  EXPECT_TRUE(fake.Take().empty()) << "no window, nothing to tell";

  edit.HandleNeeded();
  EXPECT_EQ(fake.Take().back(), "SetOptions " + c.flags);
  edit.SetACOptions(TACOptions{});
  edit.SetACOptions(c.options);
  EXPECT_EQ(fake.Take(), (Log{"SetOptions 0x0", "SetOptions " + c.flags}));
}

INSTANTIATE_TEST_SUITE_P(Cases, OptionsCases, testing::Values(
  OptionsCase{"Default", TACOptions{acAutoSuggest, acUseArrowKey}, "0x21"},
  OptionsCase{"None", TACOptions{}, "0x0"},
  OptionsCase{"All", TACOptions{acAutoAppend, acAutoSuggest, acUseArrowKey}, "0x23"},
  OptionsCase{"AppendOnly", TACOptions{acAutoAppend}, "0x2"}),
  [](const auto &info) { return std::string(info.param.name); });

TEST_F(TACEditTest, OptionsAreOnlyStoredWhenTheObjectLacksIAutoComplete2) {
  fake.offersAutoComplete2 = false;
  TACEdit edit;
  edit.HandleNeeded();
  EXPECT_EQ(fake.Take(), (Log{"create AutoComplete", "Init", "Enable 1"}));
  edit.SetACOptions(TACOptions{acAutoAppend});
  EXPECT_EQ(edit.ACOptions(), TACOptions{acAutoAppend});
  EXPECT_TRUE(fake.Take().empty());
}

TEST_F(TACEditTest, ACEnabledIsHandedToEnable) {
  TACEdit edit;
  edit.SetACEnabled(false);
  EXPECT_TRUE(fake.Take().empty());
  edit.HandleNeeded();
  EXPECT_EQ(fake.Take(), (Log{"create AutoComplete", "Init", "Enable 0", "SetOptions 0x21"}));
  edit.SetACEnabled(true);
  edit.SetACEnabled(false);
  EXPECT_EQ(fake.Take(), (Log{"Enable 1", "Enable 0"}));
  EXPECT_FALSE(edit.ACEnabled());
}

TEST_F(TACEditTest, InDesignModeNoComCallIsMade) {
  QWidget form;
  form.setProperty(TTntEdit::DesigningProperty, true);
  {
    TACEdit edit(&form);
    EXPECT_EQ(CoInitializeCount(), 0);
    edit.HandleNeeded();
    edit.SetACSource(acsShell);
    edit.SetACEnabled(false);
    EXPECT_TRUE(edit.HandleAllocated());
  }
  EXPECT_TRUE(fake.Take().empty());
  EXPECT_EQ(CoInitializeCount(), 0);
}

struct ComStateCase {
  const char *name;
  HRESULT (*before)(); // what the thread did before the edit was made
  int countWithEdit;
  bool completes;

  friend void PrintTo(const ComStateCase &c, std::ostream *os) { *os << c.name; }
};

class ComStateCases : public TACEditTest, public testing::WithParamInterface<ComStateCase> {};

TEST_P(ComStateCases, TheEditUninitialisesOnlyWhatItInitialised) {
  const ComStateCase &c = GetParam();
  const int countBefore = c.before ? (c.before(), CoInitializeCount()) : 0;
  {
    TACEdit edit;
    EXPECT_EQ(CoInitializeCount(), c.countWithEdit);
    edit.HandleNeeded();
    EXPECT_EQ(!fake.Take().empty(), c.completes);
  }
  EXPECT_EQ(CoInitializeCount(), countBefore);
  if (c.before)
    CoUninitialize();
}

INSTANTIATE_TEST_SUITE_P(Cases, ComStateCases, testing::Values(
  ComStateCase{"NotInitialised", nullptr, 1, true},
  ComStateCase{"AlreadyInitialised", [] { return CoInitialize(nullptr); }, 2, true},
  ComStateCase{"OtherModel", [] { return CoInitializeEx(nullptr, COINIT_MULTITHREADED); }, 1, false}),
  [](const auto &info) { return std::string(info.param.name); });

struct SourceCase {
  TACSource source;
  std::string name;

  friend void PrintTo(const SourceCase &c, std::ostream *os) { *os << c.name; }
};

class SourceCases : public TACEditTest, public testing::WithParamInterface<SourceCase> {};

TEST_P(SourceCases, AChangeRecreatesTheWindowWithTheNewSource) {
  const SourceCase &c = GetParam();
  TACEdit edit;
  Fill(edit, {"Apfel"});
  edit.HandleNeeded();
  fake.Take();

  edit.SetACSource(c.source);
  EXPECT_EQ(fake.Take(), Concat({"release AutoComplete", "create AutoComplete", "create " + c.name, "Init " + c.name},
                                DefaultBinding));
  edit.SetACSource(c.source);
  EXPECT_TRUE(fake.Take().empty()) << "an equal value changes nothing";

  edit.SetACSource(acsList);
  EXPECT_EQ(fake.Take(), Concat({"release AutoComplete", "release " + c.name, "create AutoComplete", "Init Apfel"},
                                DefaultBinding));
}

TEST_P(SourceCases, WithoutAWindowAChangeIsOnlyStored) {
  const SourceCase &c = GetParam();
  TACEdit edit;
  edit.SetACSource(c.source);
  EXPECT_EQ(edit.ACSource(), c.source);
  EXPECT_TRUE(fake.Take().empty());
  edit.HandleNeeded();
  EXPECT_EQ(fake.Take(), Concat({"create AutoComplete", "create " + c.name, "Init " + c.name}, DefaultBinding));
}

INSTANTIATE_TEST_SUITE_P(Cases, SourceCases, testing::Values(
  SourceCase{acsHistory, "History"}, SourceCase{acsMRU, "MRU"}, SourceCase{acsShell, "ISF"}),
  [](const auto &info) { return info.param.name; });

TEST_F(TACEditTest, DestructionReleasesTheAutoCompleteObjectThenTheSource) {
  {
    TACEdit edit;
    edit.SetACSource(acsMRU);
    edit.show();
    fake.Take();
  }
  EXPECT_EQ(fake.Take(), (Log{"release AutoComplete", "release MRU"}));
}

struct ExitCase {
  const char *name;
  TACSource source;
  bool autoAdd;
  QString text;
  Qt::FocusReason reason;
  QStringList expected;
  int exits;

  friend void PrintTo(const ExitCase &c, std::ostream *os) { *os << c.name; }
};

class ExitCases : public TACEditTest, public testing::WithParamInterface<ExitCase> {};

TEST_P(ExitCases, AddTheTextToTheOwnList) {
  const ExitCase &c = GetParam();
  TACEdit edit;
  Fill(edit, {"Apfel"});
  edit.SetACSource(c.source);
  edit.SetAutoAdd(c.autoAdd);
  edit.setText(c.text);
  QStringList listAtExit;
  int exits = 0;
  QObject::connect(&edit, &TTntEdit::OnExit, [&] {
    listAtExit = Entries(edit);
    ++exits;
  });

  QFocusEvent focusOut(QEvent::FocusOut, c.reason);
  QApplication::sendEvent(&edit, &focusOut);
  EXPECT_EQ(Entries(edit), c.expected);
  EXPECT_EQ(exits, c.exits);
  if (exits) {
    EXPECT_EQ(listAtExit, c.expected) << "the text is added before OnExit";
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ExitCases, testing::Values(
  ExitCase{"NewText", acsList, true, "Birne", Qt::TabFocusReason, {"Apfel", "Birne"}, 1},
  ExitCase{"WithItsBlanks", acsList, true, " Kirsche ", Qt::MouseFocusReason, {" Kirsche ", "Apfel"}, 1},
  ExitCase{"SameInOtherCase", acsList, true, "APFEL", Qt::TabFocusReason, {"Apfel"}, 1},
  ExitCase{"EmptyText", acsList, true, "", Qt::TabFocusReason, {"Apfel"}, 1},
  ExitCase{"AutoAddOff", acsList, false, "Birne", Qt::TabFocusReason, {"Apfel"}, 1},
  ExitCase{"OtherSource", acsShell, true, "Birne", Qt::TabFocusReason, {"Apfel"}, 1},
  ExitCase{"WindowDeactivated", acsList, true, "Birne", Qt::ActiveWindowFocusReason, {"Apfel"}, 0}),
  [](const auto &info) { return std::string(info.param.name); });

struct DeleteCase {
  const char *name;
  TACSource source;
  std::vector<const char *> entries;
  int key;
  Qt::KeyboardModifiers modifiers;
  DWORD flags;
  const char16_t *selected;
  QStringList expected;
  Log calls;

  friend void PrintTo(const DeleteCase &c, std::ostream *os) { *os << c.name; }
};

class DeleteCases : public TACEditTest, public testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteCases, RemoveTheSelectedEntryOnlyWhileTheDropDownShows) {
  const DeleteCase &c = GetParam();
  TACEdit edit;
  Fill(edit, c.entries);
  edit.SetACSource(c.source);
  edit.HandleNeeded();
  fake.Take();
  fake.dropDownFlags = c.flags;
  fake.dropDownText = c.selected;
  std::vector<int> keysDown;
  QObject::connect(&edit, &TTntEdit::OnKeyDown, [&](int key, Qt::KeyboardModifiers) { keysDown.push_back(key); });

  // The key still reaches the edit: it does to the text what a plain edit does.
  QLineEdit plain;
  for (QLineEdit *e : {static_cast<QLineEdit *>(&edit), &plain}) {
    e->setText("one two");
    e->setCursorPosition(0);
  }
  QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers);
  QApplication::sendEvent(&edit, &press);
  QKeyEvent samePress(QEvent::KeyPress, c.key, c.modifiers);
  QApplication::sendEvent(&plain, &samePress);

  EXPECT_EQ(Entries(edit), c.expected);
  EXPECT_EQ(fake.Take(), c.calls);
  EXPECT_EQ(keysDown, std::vector<int>{c.key});
  EXPECT_EQ(edit.text(), plain.text());
}

const Log StatusAndReset{"GetDropDownStatus", "ResetEnumerator"};

INSTANTIATE_TEST_SUITE_P(Cases, DeleteCases, testing::Values(
  DeleteCase{"Visible", acsList, {"Apfel", "Birne"}, Qt::Key_Delete, Qt::NoModifier, 1, u"birne", {"Apfel"}, StatusAndReset},
  DeleteCase{"WithShift", acsList, {"Apfel", "Birne"}, Qt::Key_Delete, Qt::ShiftModifier, 1, u"Birne", {"Apfel"}, StatusAndReset},
  DeleteCase{"WithCtrl", acsList, {"Apfel", "Birne"}, Qt::Key_Delete, Qt::ControlModifier, 1, u"Apfel", {"Birne"}, StatusAndReset},
  DeleteCase{"NotVisible", acsList, {"Apfel", "Birne"}, Qt::Key_Delete, Qt::NoModifier, 0, u"Birne", {"Apfel", "Birne"}, {"GetDropDownStatus"}},
  DeleteCase{"OtherFlags", acsList, {"Apfel", "Birne"}, Qt::Key_Delete, Qt::NoModifier, 3, u"Birne", {"Apfel", "Birne"}, {"GetDropDownStatus"}},
  DeleteCase{"NothingSelected", acsList, {"Apfel", "Birne"}, Qt::Key_Delete, Qt::NoModifier, 1, nullptr, {"Apfel", "Birne"}, StatusAndReset},
  DeleteCase{"NotInTheList", acsList, {"Apfel", "Birne"}, Qt::Key_Delete, Qt::NoModifier, 1, u"Kirsche", {"Apfel", "Birne"}, StatusAndReset},
  DeleteCase{"OnlyEmptyEntries", acsList, {""}, Qt::Key_Delete, Qt::NoModifier, 1, u"", {""}, {}},
  DeleteCase{"OtherSource", acsShell, {"Apfel"}, Qt::Key_Delete, Qt::NoModifier, 1, u"Apfel", {"Apfel"}, {}},
  DeleteCase{"OtherKey", acsList, {"Apfel"}, Qt::Key_Backspace, Qt::NoModifier, 1, u"Apfel", {"Apfel"}, {}}),
  [](const auto &info) { return std::string(info.param.name); });

TEST_F(TACEditTest, AFailedInitRaisesAndLeavesAPlainEdit) {
  fake.initResult = E_FAIL;
  TACEdit edit;
  Fill(edit, {"Apfel"});
  try {
    edit.HandleNeeded();
    FAIL() << "no error";
  } catch (const std::runtime_error &e) {
    EXPECT_STREQ(e.what(), "Could not initialize AutoComplete");
  }
  EXPECT_EQ(fake.Take(), (Log{"create AutoComplete", "Init Apfel", "release AutoComplete"}));
  EXPECT_TRUE(edit.HandleAllocated());

  QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
  QApplication::sendEvent(&edit, &press);
  EXPECT_TRUE(fake.Take().empty()) << "no auto-complete object to ask";
}

TEST_F(TACEditTest, ASourceHeldAfterAFailedInitIsReusedByTheNextWindow) {
  fake.initResult = E_FAIL;
  TACEdit edit;
  edit.SetACSource(acsShell);
  EXPECT_THROW(edit.HandleNeeded(), std::runtime_error);
  fake.Take();

  fake.initResult = S_OK;
  edit.SetACSource(acsHistory);
  EXPECT_EQ(fake.Take(), Concat({"create AutoComplete", "Init ISF"}, DefaultBinding));
}

struct CreationFailureCase {
  const char *name;
  CLSID clsid;
  bool replaceWithAutoComplete; // else unregister
  const char *error;            // none: a plain edit without completion
  Log calls;

  friend void PrintTo(const CreationFailureCase &c, std::ostream *os) { *os << c.name; }
};

class CreationFailureCases : public TACEditTest, public testing::WithParamInterface<CreationFailureCase> {};

TEST_P(CreationFailureCases, AreSilentOnlyForTheAutoCompleteObject) {
  const CreationFailureCase &c = GetParam();
  if (c.replaceWithAutoComplete)
    RegisterComClass(c.clsid, [] { return static_cast<IAutoComplete *>(new FakeAutoComplete); });
  else
    UnregisterComClass(c.clsid);
  TACEdit edit;
  edit.SetACSource(acsShell);
  std::string error;
  try {
    edit.HandleNeeded();
  } catch (const std::exception &e) {
    error = e.what();
  }
  EXPECT_EQ(error, c.error ? c.error : "");
  EXPECT_EQ(fake.Take(), c.calls);
  EXPECT_TRUE(edit.HandleAllocated());
}

INSTANTIATE_TEST_SUITE_P(Cases, CreationFailureCases, testing::Values(
  CreationFailureCase{"NoAutoCompleteClass", CLSID_AutoComplete, false, nullptr, {}},
  CreationFailureCase{"NoSourceClass", CLSID_ACListISF, false,
                      "Class not registered, ClassID: {03C036F1-A186-11D0-824A-00AA005B4383}",
                      {"create AutoComplete"}},
  CreationFailureCase{"SourceWithoutIEnumString", CLSID_ACListISF, true, "Interface not supported",
                      {"create AutoComplete", "create AutoComplete", "release AutoComplete"}}),
  [](const auto &info) { return std::string(info.param.name); });

TEST_F(TACEditTest, AssigningAListCopiesItsStringsSortedWithoutDuplicates) {
  TTntStringList source;
  for (const char *s : {"b", "A", "a"})
    source.Add(QString::fromLatin1(s));
  TACEdit edit;
  Fill(edit, {"old"});
  edit.SetACList(source);
  source.Add("c");
  EXPECT_EQ(Entries(edit), (QStringList{"A", "b"}));
}

} // namespace
