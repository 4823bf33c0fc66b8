#include <gtest/gtest.h>
#include <thread>

#include "platform/com/ComObj.h"
#include "platform/com/ComObject.h"
#include "platform/com/ComRuntime.h"

namespace {

constexpr CLSID CLSID_Sample = MakeGuid("{0a1b2c3d-4e5f-6071-8293-a4b5c6d7e8f9}");
constexpr CLSID CLSID_Unknown = MakeGuid("{11111111-2222-3333-4444-555555555555}");

struct ISample : IUnknown {
  using Base = IUnknown;
  static constexpr IID Iid = MakeGuid("{12345678-0000-0000-0000-000000000001}");
  virtual int Value() = 0;

protected:
  ~ISample() = default;
};

struct ISampleTwo : ISample {
  using Base = ISample;
  static constexpr IID Iid = MakeGuid("{12345678-0000-0000-0000-000000000002}");

protected:
  ~ISampleTwo() = default;
};

struct IMissing : IUnknown {
  using Base = IUnknown;
  static constexpr IID Iid = MakeGuid("{12345678-0000-0000-0000-0000000000FF}");

protected:
  ~IMissing() = default;
};

int liveSamples = 0;

class Sample final : public ComObject<ISampleTwo, IEnumString> {
public:
  Sample() { ++liveSamples; }
  ~Sample() override { --liveSamples; }
  int Value() override { return 42; }
  HRESULT Next(ULONG, LPOLESTR *, ULONG *) override { return S_FALSE; }
  HRESULT Skip(ULONG) override { return S_FALSE; }
  HRESULT Reset() override { return S_OK; }
  HRESULT Clone(IEnumString **) override { return E_FAIL; }
};

class ComTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    RegisterComClass(CLSID_Sample, [] { return static_cast<ISample *>(new Sample); });
  }
  void TearDown() override {
    UnregisterComClass(CLSID_Sample);
    CoUninitialize();
    EXPECT_EQ(liveSamples, 0);
  }
};

TEST(Guid, ReadsTheRegistryFormAndWritesItInUpperCase) {
  EXPECT_EQ(CLSID_Sample.Data1, 0x0A1B2C3Du);
  EXPECT_EQ(CLSID_Sample.Data2, 0x4E5F);
  EXPECT_EQ(CLSID_Sample.Data3, 0x6071);
  EXPECT_EQ(CLSID_Sample.Data4, (std::array<std::uint8_t, 8>{0x82, 0x93, 0xA4, 0xB5, 0xC6, 0xD7, 0xE8, 0xF9}));
  EXPECT_EQ(GUIDToString(CLSID_Sample), "{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9}");
  EXPECT_EQ(GUIDToString(IEnumString::Iid), "{00000101-0000-0000-C000-000000000046}");
  EXPECT_NE(CLSID_Sample, CLSID_Unknown);
}

TEST(CoInitialize, CountsPerThreadAndRefusesTheOtherModel) {
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
  EXPECT_EQ(CoInitializeCount(), 2);

  std::thread([] {
    EXPECT_EQ(CoInitializeCount(), 0);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), RPC_E_CHANGED_MODE);
    CoUninitialize();
  }).join();

  CoUninitialize();
  CoUninitialize();
  EXPECT_EQ(CoInitializeCount(), 0);
  CoUninitialize(); // one too many is ignored
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
  CoUninitialize();
}

TEST_F(ComTest, CreatesARegisteredClassWithTheInterfaceAskedFor) {
  void *object = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_Sample, nullptr, CLSCTX_INPROC_SERVER, ISample::Iid, &object), S_OK);
  auto sample = ComPtr<ISample>::Attach(static_cast<ISample *>(object));
  EXPECT_EQ(sample->Value(), 42);
  EXPECT_EQ(liveSamples, 1);
}

TEST_F(ComTest, QueryInterfaceAnswersEachInterfaceItsBasesAndOneIdentity) {
  const auto sample = CreateComObject(CLSID_Sample);
  ComPtr<ISample> one;
  ComPtr<ISampleTwo> two;
  ComPtr<IEnumString> strings;
  ComPtr<IUnknown> identity;
  EXPECT_EQ(sample.As(one), S_OK);
  EXPECT_EQ(sample.As(two), S_OK);
  EXPECT_EQ(sample.As(strings), S_OK);
  EXPECT_EQ(strings.As(identity), S_OK);
  EXPECT_EQ(identity.Get(), sample.Get());
  EXPECT_EQ(one->Value(), 42);

  void *object = &liveSamples;
  EXPECT_EQ(sample->QueryInterface(CLSID_Unknown, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
}

TEST_F(ComTest, ReleasingTheLastReferenceFreesTheObject) {
  ComPtr<IUnknown> first = CreateComObject(CLSID_Sample);
  ComPtr<IUnknown> second = first;
  EXPECT_EQ(first->AddRef(), 3u);
  EXPECT_EQ(first->Release(), 2u);
  first.Reset();
  EXPECT_EQ(liveSamples, 1);
  second.Reset();
  EXPECT_EQ(liveSamples, 0);
}

struct CreationFailure {
  const char *name;
  CLSID clsid;
  bool aggregated;
  DWORD context;
  IID iid;
  HRESULT result;

  friend void PrintTo(const CreationFailure &c, std::ostream *os) { *os << c.name; }
};

class CreationFailures : public ComTest, public testing::WithParamInterface<CreationFailure> {};

TEST_P(CreationFailures, GiveTheResultCodeAndNoObject) {
  const CreationFailure &c = GetParam();
  Sample outer;
  void *object = &liveSamples;
  EXPECT_EQ(CoCreateInstance(c.clsid, c.aggregated ? static_cast<ISample *>(&outer) : nullptr, c.context,
                             c.iid, &object),
            c.result);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(liveSamples, 1); // only `outer`
}

INSTANTIATE_TEST_SUITE_P(Cases, CreationFailures, testing::Values(
  CreationFailure{"NotRegistered", CLSID_Unknown, false, CLSCTX_INPROC_SERVER, IUnknown::Iid, REGDB_E_CLASSNOTREG},
  CreationFailure{"OnlyLocalServer", CLSID_Sample, false, CLSCTX_LOCAL_SERVER, IUnknown::Iid, REGDB_E_CLASSNOTREG},
  CreationFailure{"Aggregated", CLSID_Sample, true, CLSCTX_INPROC_SERVER, IUnknown::Iid, CLASS_E_NOAGGREGATION},
  CreationFailure{"MissingInterface", CLSID_Sample, false, CLSCTX_INPROC_SERVER, CLSID_Unknown, E_NOINTERFACE}),
  [](const auto &info) { return std::string(info.param.name); });

TEST(CoCreateInstance, NeedsCoInitialize) {
  void *object = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_Sample, nullptr, CLSCTX_INPROC_SERVER, IUnknown::Iid, &object),
            CO_E_NOTINITIALIZED);
}

TEST_F(ComTest, CreateComObjectRaisesTheSystemTextAndTheClassId) {
  try {
    CreateComObject(CLSID_Unknown);
    FAIL() << "no error";
  } catch (const EOleSysError &e) {
    EXPECT_STREQ(e.what(), "Class not registered, ClassID: {11111111-2222-3333-4444-555555555555}");
    EXPECT_EQ(e.ErrorCode, REGDB_E_CLASSNOTREG);
  }
}

TEST_F(ComTest, InterfaceCastRaisesWhenTheInterfaceIsMissing) {
  const auto sample = CreateComObject(CLSID_Sample);
  EXPECT_EQ(InterfaceCast<ISample>(sample)->Value(), 42);
  try {
    InterfaceCast<IMissing>(sample);
    FAIL() << "no error";
  } catch (const EIntfCastError &e) {
    EXPECT_STREQ(e.what(), "Interface not supported");
  }
}

} // namespace
