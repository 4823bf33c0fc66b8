#include "platform/ado/ReaderProcess.h"

#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/ado/DB.h"

using namespace std::chrono_literals;

namespace {

constexpr std::size_t kAllowance = std::size_t{256} << 20;

std::string ErrorOf(TReaderProcess &reader) {
  try {
    while (reader.Receive()) {
    }
  } catch (const EDatabaseError &error) {
    return error.what();
  }
  return "(no error)";
}

[[noreturn]] void Forever() {
  for (;;)
    pause();
}

bool Exists(pid_t pid) { return kill(pid, 0) == 0; }

} // namespace

TEST(ReaderProcess, DeliversTheMessagesInOrderThenEnds) {
  const std::string large(10'000'000, 'x'); // larger than any pipe or block
  TReaderProcess reader("'test'", kAllowance, [&](TReaderChannel &channel) {
    for (int i = 0; i < 1000; ++i)
      channel.Send({std::to_string(i), std::string("a\0b", 3), ""});
    channel.Send({large});
    channel.Send({});
  }, 5s);
  for (int i = 0; i < 1000; ++i)
    ASSERT_EQ(reader.Receive(), (TReaderMessage{std::to_string(i), std::string("a\0b", 3), ""}));
  EXPECT_EQ(reader.Receive(), TReaderMessage{large});
  EXPECT_EQ(reader.Receive(), TReaderMessage{});
  EXPECT_EQ(reader.Receive(), std::nullopt);
  EXPECT_EQ(reader.Receive(), std::nullopt);
}

TEST(ReaderProcess, TheJobsOwnErrorArrivesAsItStands) {
  TReaderProcess reader("'test'", kAllowance, [](TReaderChannel &channel) {
    channel.Send({"first"});
    throw EDatabaseError("Unrecognized database format '/x.mdb'.");
  }, 5s);
  EXPECT_EQ(reader.Receive(), TReaderMessage{"first"});
  EXPECT_EQ(ErrorOf(reader), "Unrecognized database format '/x.mdb'.");
  EXPECT_EQ(ErrorOf(reader), "Unrecognized database format '/x.mdb'."); // and again on every later call
}

struct FailureCase {
  const char *name;
  void (*job)();
  std::string error;
  std::chrono::milliseconds timeout = 30s; // all but the hang end by themselves
};

void PrintTo(const FailureCase &c, std::ostream *out) { *out << c.name; }

class ReaderFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(ReaderFailure, EndsInAnErrorNamingTheSubject) {
  TReaderProcess reader("'/songs/lieder.mdb'", std::size_t{32} << 20, [](TReaderChannel &channel) {
    channel.Send({"a row"});
    channel.Flush();
    GetParam().job();
  }, GetParam().timeout);
  EXPECT_EQ(reader.Receive(), TReaderMessage{"a row"});
  EXPECT_EQ(ErrorOf(reader), "Cannot read '/songs/lieder.mdb': " + GetParam().error + ". The file is probably damaged.");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderFailure,
    testing::Values(
        FailureCase{"Crash", [] { std::raise(SIGSEGV); }, "the reader crashed (Segmentation fault)"},
        FailureCase{"Abort", [] { std::abort(); }, "the reader crashed (Aborted)"},
        FailureCase{"Hang", [] { Forever(); }, "the reader gave no sign of life for 300 ms", 300ms},
        // the memory cap turns a loop that allocates into a failure
        FailureCase{"EndlessAllocation",
                    [] {
                      std::vector<std::string> hoard;
                      for (;;)
                        hoard.emplace_back(1 << 20, 'x');
                    },
                    "the reader ran out of memory"}),
    [](const testing::TestParamInfo<FailureCase> &info) { return std::string(info.param.name); });

TEST(ReaderProcess, AReaderStoppedEarlyLeavesNoProcess) {
  pid_t child = 0;
  {
    TReaderProcess reader("'test'", kAllowance, [](TReaderChannel &channel) {
      channel.Send({std::to_string(getpid())});
      channel.Flush();
      Forever();
    }, 5s);
    child = std::stoi(reader.Receive()->front());
    EXPECT_TRUE(Exists(child));
  }
  EXPECT_FALSE(Exists(child)); // killed and reaped, no zombie
}

// A reader started later must not keep an earlier one's pipe open: the
// earlier one's crash still shows at once, not as a hang after the timeout.
TEST(ReaderProcess, ReadersDoNotHoldEachOthersPipes) {
  TReaderProcess crashing("'first'", kAllowance, [](TReaderChannel &channel) {
    channel.Send({"started"});
    channel.Flush();
    sleep(1);
    std::raise(SIGSEGV);
  }, 60s);
  EXPECT_EQ(crashing.Receive(), TReaderMessage{"started"});
  TReaderProcess waiting("'second'", kAllowance, [](TReaderChannel &) { Forever(); }, 60s);
  EXPECT_EQ(ErrorOf(crashing),
            "Cannot read 'first': the reader crashed (Segmentation fault). The file is probably damaged.");
}
