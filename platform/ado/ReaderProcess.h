#pragma once
// A child process that does one reading job and sends its results to the
// parent as messages through a pipe. libmdb can crash or loop forever on a
// damaged file; in a child that costs the child, and the parent gets an
// EDatabaseError instead: at once for a crash, after the timeout for a hang.

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

// One message: a list of byte strings.
using TReaderMessage = std::vector<std::string>;

// The child's end of the pipe. Messages are buffered and go out in blocks.
class TReaderChannel {
public:
  explicit TReaderChannel(int descriptor) : FDescriptor(descriptor) {}
  void Send(const TReaderMessage &message);
  void Fail(const std::string &error); // the job's own error, raised in the parent as it stands
  void Flush();

private:
  void Put(char kind, const TReaderMessage &message);

  int FDescriptor;
  std::string FBuffer;
};

class TReaderProcess {
public:
  using TJob = std::function<void(TReaderChannel &)>;

  // Starts `job` in a child process. `subject` names what is read in the
  // errors ("'/songs/lieder.mdb'"); `memoryAllowance` is what the child may
  // allocate beyond what it has from the parent.
  TReaderProcess(std::string subject, std::size_t memoryAllowance, const TJob &job,
                 std::chrono::milliseconds timeout);
  // Stops the child if it still runs.
  ~TReaderProcess();
  TReaderProcess(const TReaderProcess &) = delete;
  TReaderProcess &operator=(const TReaderProcess &) = delete;

  // The job's next message; nullopt once the job has ended. Raises
  // EDatabaseError with the job's own error, or naming the subject when the
  // child crashed or gave no sign of life for the timeout.
  std::optional<TReaderMessage> Receive();
  // The same into `message`, reusing its strings; false once the job has ended.
  bool Receive(TReaderMessage &message);

private:
  bool Fill();
  std::optional<std::string_view> TakeFrame(char &kind);
  std::string Ending();
  void Stop();
  [[noreturn]] void Stopped(const std::string &why);

  std::string FSubject;
  std::chrono::milliseconds FTimeout;
  pid_t FChild = -1;
  int FDescriptor = -1;
  std::vector<char> FBuffer;
  std::size_t FBegin = 0; // where the frames not yet taken begin
  std::size_t FEnd = 0;   // where what was read ends
  bool FEnded = false;
  std::string FError; // raised again by every later Receive
};
