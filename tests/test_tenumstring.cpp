#include <gtest/gtest.h>

#include "controls/TEnumString.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ComRuntime.h"

namespace {

// A list that tests may change between calls, as the edit changes its entries.
class LiveList final : public TTntStrings {
public:
  LiveList(std::vector<std::u16string> strings) : Items(std::move(strings)) {}
  LiveList(std::initializer_list<std::u16string> strings) : Items(strings) {}
  int Count() const override { return static_cast<int>(Items.size()); }
  std::u16string_view Strings(int index) const override { return Items.at(index); }
  std::vector<std::u16string> Items;
};

ComPtr<IEnumString> EnumOver(const TTntStrings &list) { return ComPtr<IEnumString>(new TEnumString(list)); }

struct Fetched {
  HRESULT result;
  std::vector<std::u16string> strings;
};

// Calls Next, takes the strings out of their task memory and frees it.
Fetched Next(IEnumString *e, ULONG celt) {
  std::vector<LPOLESTR> blocks(celt + 1, nullptr);
  ULONG fetched = 99;
  Fetched out{e->Next(celt, blocks.data(), &fetched), {}};
  EXPECT_LE(fetched, celt);
  for (ULONG i = 0; i < fetched; ++i) {
    out.strings.emplace_back(blocks[i]);
    CoTaskMemFree(blocks[i]);
  }
  EXPECT_EQ(blocks[fetched], nullptr) << "handed out more than it counted";
  return out;
}

std::u16string NextOne(IEnumString *e) {
  const Fetched f = Next(e, 1);
  return f.strings.empty() ? u"<none>" : f.strings.front();
}

struct NextCase {
  const char *name;
  std::vector<std::u16string> list;
  ULONG before; // strings taken out first
  ULONG celt;
  HRESULT result;
  std::vector<std::u16string> strings;

  friend void PrintTo(const NextCase &c, std::ostream *os) { *os << c.name; }
};

class NextCases : public testing::TestWithParam<NextCase> {};

TEST_P(NextCases, HandsOutUpToCeltStrings) {
  const NextCase &c = GetParam();
  LiveList list(c.list);
  const auto e = EnumOver(list);
  Next(e.Get(), c.before);
  const Fetched f = Next(e.Get(), c.celt);
  EXPECT_EQ(f.result, c.result);
  EXPECT_EQ(f.strings, c.strings);
}

INSTANTIATE_TEST_SUITE_P(Cases, NextCases, testing::Values(
  NextCase{"NoneWanted", {u"a", u"b"}, 0, 0, S_OK, {}},
  NextCase{"EmptyList", {}, 0, 1, S_FALSE, {}},
  NextCase{"FewerThanThereAre", {u"a", u"b", u"c"}, 0, 2, S_OK, {u"a", u"b"}},
  NextCase{"ExactlyTheRest", {u"a", u"b", u"c"}, 1, 2, S_OK, {u"b", u"c"}},
  NextCase{"MoreThanRemain", {u"a", u"b", u"c"}, 1, 5, S_FALSE, {u"b", u"c"}},
  NextCase{"AfterTheEnd", {u"a", u"b"}, 2, 1, S_FALSE, {}},
  NextCase{"EmptyString", {u"", u"x"}, 0, 1, S_OK, {u""}},
  NextCase{"Unicode", {u"Grüße ✓"}, 0, 1, S_OK, {u"Grüße ✓"}}),
  [](const auto &info) { return std::string(info.param.name); });

TEST(TEnumString, NextAllowsANullCountPlace) {
  LiveList list{u"a", u"b"};
  const auto e = EnumOver(list);
  LPOLESTR block = nullptr;
  EXPECT_EQ(e->Next(1, &block, nullptr), S_OK);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(std::u16string(block), u"a");
  CoTaskMemFree(block);
  EXPECT_EQ(NextOne(e.Get()), u"b");
}

struct SkipCase {
  const char *name;
  std::vector<std::u16string> list;
  ULONG before;
  ULONG celt;
  HRESULT result;
  std::u16string next;

  friend void PrintTo(const SkipCase &c, std::ostream *os) { *os << c.name; }
};

class SkipCases : public testing::TestWithParam<SkipCase> {};

TEST_P(SkipCases, MovesOnOrRewinds) {
  const SkipCase &c = GetParam();
  LiveList list(c.list);
  const auto e = EnumOver(list);
  Next(e.Get(), c.before);
  EXPECT_EQ(e->Skip(c.celt), c.result);
  EXPECT_EQ(NextOne(e.Get()), c.next);
}

INSTANTIATE_TEST_SUITE_P(Cases, SkipCases, testing::Values(
  SkipCase{"Inside", {u"a", u"b", u"c", u"d"}, 1, 2, S_OK, u"d"},
  SkipCase{"ByNothing", {u"a", u"b"}, 1, 0, S_OK, u"b"},
  SkipCase{"ExactlyBehindTheLast", {u"a", u"b", u"c"}, 1, 2, S_FALSE, u"a"},
  SkipCase{"BeyondTheEnd", {u"a", u"b", u"c"}, 0, 7, S_FALSE, u"a"},
  SkipCase{"HugeCount", {u"a", u"b", u"c"}, 1, 0xFFFFFFFF, S_FALSE, u"a"},
  SkipCase{"EmptyList", {}, 0, 0, S_FALSE, u"<none>"}),
  [](const auto &info) { return std::string(info.param.name); });

TEST(TEnumString, ResetGoesBackToTheFirstString) {
  LiveList list{u"a", u"b", u"c"};
  const auto e = EnumOver(list);
  Next(e.Get(), 2);
  EXPECT_EQ(e->Reset(), S_OK);
  EXPECT_EQ(NextOne(e.Get()), u"a");
}

TEST(TEnumString, ReadsTheListLive) {
  LiveList list{u"a", u"b", u"c"};
  const auto e = EnumOver(list);
  Next(e.Get(), 2);
  list.Items.push_back(u"d");
  EXPECT_EQ(Next(e.Get(), 5).strings, (std::vector<std::u16string>{u"c", u"d"}));

  // A position left behind the end by removed strings hands out nothing until Reset.
  list.Items.resize(1);
  EXPECT_EQ(Next(e.Get(), 1).result, S_FALSE);
  list.Items.push_back(u"e");
  EXPECT_EQ(Next(e.Get(), 1).result, S_FALSE);
  e->Reset();
  EXPECT_EQ(Next(e.Get(), 5).strings, (std::vector<std::u16string>{u"a", u"e"}));
}

TEST(TEnumString, CloneStartsWhereTheOriginalIsAndMovesOnItsOwn) {
  LiveList list{u"a", u"b", u"c", u"d"};
  const auto original = EnumOver(list);
  Next(original.Get(), 2);
  IEnumString *raw = original.Get(); // overwritten by Clone
  ASSERT_EQ(original->Clone(&raw), S_OK);
  const auto clone = ComPtr<IEnumString>::Attach(raw);
  ASSERT_NE(clone.Get(), original.Get());

  EXPECT_EQ(NextOne(clone.Get()), u"c");
  EXPECT_EQ(NextOne(clone.Get()), u"d");
  EXPECT_EQ(NextOne(original.Get()), u"c");

  list.Items.push_back(u"e");
  EXPECT_EQ(NextOne(clone.Get()), u"e");
  EXPECT_EQ(NextOne(original.Get()), u"d");
  EXPECT_EQ(NextOne(original.Get()), u"e");
  EXPECT_EQ(original->Clone(nullptr), E_POINTER);
}

TEST(TEnumString, AnswersOnlyIUnknownAndIEnumString) {
  LiveList list{};
  const auto e = EnumOver(list);
  ComPtr<IUnknown> unknown;
  ComPtr<IEnumString> strings;
  EXPECT_EQ(e.As(unknown), S_OK);
  EXPECT_EQ(unknown.As(strings), S_OK);
  EXPECT_EQ(strings.Get(), e.Get());
  void *other = nullptr;
  EXPECT_EQ(e->QueryInterface(MakeGuid("{00000100-0000-0000-C000-000000000046}"), &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
}

bool destroyed = false;

class ObservedEnum final : public TEnumString {
public:
  using TEnumString::TEnumString;
  ~ObservedEnum() override { destroyed = true; }
};

TEST(TEnumString, FreesItselfWhenTheLastReferenceGoes) {
  LiveList list{u"a"};
  destroyed = false;
  auto *object = new ObservedEnum(list);
  void *reference = nullptr;
  ASSERT_EQ(object->QueryInterface(IEnumString::Iid, &reference), S_OK); // the first reference
  auto *e = static_cast<IEnumString *>(reference);
  EXPECT_EQ(e->AddRef(), 2u);

  IEnumString *clone = nullptr;
  ASSERT_EQ(e->Clone(&clone), S_OK);
  EXPECT_EQ(e->Release(), 1u);
  EXPECT_EQ(e->Release(), 0u);
  EXPECT_TRUE(destroyed);

  EXPECT_EQ(NextOne(clone), u"a"); // the clone holds a count of its own
  EXPECT_EQ(clone->Release(), 0u);
}

} // namespace
