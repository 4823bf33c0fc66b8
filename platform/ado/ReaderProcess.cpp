#include "platform/ado/ReaderProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <new>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/ado/DB.h"
#include "util/WriteAll.h"

#if defined(__SANITIZE_ADDRESS__)
#define TABULIFT_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TABULIFT_ASAN 1
#endif
#endif

namespace {

// A frame on the pipe: a kind byte, the payload's size, the payload; the
// payload is the message's strings, each after its size. Sizes are 32 bits,
// little-endian.
constexpr char kMessage = 'M';
constexpr char kError = 'E';
constexpr std::size_t kFrameHead = 5;
constexpr std::size_t kBlock = 64 * 1024;
constexpr int kPipeSize = 1024 * 1024;

// How a child that sent no error ends when it cannot go on.
constexpr int kParentGone = 1;
constexpr int kFailed = 2;
constexpr int kOutOfMemory = 3;

void PutSize(std::string &out, std::size_t size) {
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<char>((size >> shift) & 0xFF));
}

std::size_t GetSize(const char *in) {
  std::size_t size = 0;
  for (int i = 0; i < 4; ++i)
    size |= static_cast<std::size_t>(static_cast<unsigned char>(in[i])) << (8 * i);
  return size;
}

// Decodes into `message`, reusing its strings: rows of one table come one
// after another with the same number of values.
void Decode(std::string_view payload, TReaderMessage &message) {
  std::size_t count = 0;
  while (payload.size() >= 4) {
    const std::size_t size = GetSize(payload.data());
    const std::string_view part = payload.substr(4, size);
    if (count < message.size())
      message[count].assign(part);
    else
      message.emplace_back(part);
    ++count;
    payload.remove_prefix(std::min(payload.size(), 4 + size));
  }
  message.resize(count);
}

#ifndef TABULIFT_ASAN
std::size_t AddressSpaceInUse() {
  std::size_t pages = 0;
  std::ifstream("/proc/self/statm") >> pages;
  return pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}
#endif

// No core files of a crashing reader, and a cap on its memory, so that a loop
// that allocates ends in a crash rather than in a machine that swaps. Address
// sanitizer reserves terabytes up front; under it there is no cap.
void LimitResources([[maybe_unused]] std::size_t memoryAllowance) {
  const rlimit noCore{0, 0};
  setrlimit(RLIMIT_CORE, &noCore);
#ifndef TABULIFT_ASAN
  const rlim_t memory = AddressSpaceInUse() + memoryAllowance;
  const rlimit limit{memory, memory};
  setrlimit(RLIMIT_AS, &limit);
#endif
}

// The child keeps only its end of the pipe: a reader started later must not
// hold this one's pipe open. Its output goes nowhere; libmdb and glib write
// warnings to it.
void DetachChild(int descriptor, pid_t parent) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent)
    _exit(kParentGone);
  if (descriptor > 3)
    close_range(3, static_cast<unsigned>(descriptor) - 1, 0);
  close_range(static_cast<unsigned>(descriptor) + 1, ~0U, 0);
  const int nowhere = open("/dev/null", O_WRONLY);
  if (nowhere >= 0) {
    dup2(nowhere, STDOUT_FILENO);
    dup2(nowhere, STDERR_FILENO);
    close(nowhere);
  }
  std::signal(SIGPIPE, SIG_DFL);
}

[[noreturn]] void RunChild(int descriptor, pid_t parent, std::size_t memoryAllowance,
                           const TReaderProcess::TJob &job) {
  DetachChild(descriptor, parent);
  LimitResources(memoryAllowance);
  TReaderChannel channel(descriptor);
  try {
    job(channel);
  } catch (const EDatabaseError &error) {
    channel.Fail(error.what());
  } catch (const std::bad_alloc &) {
    _exit(kOutOfMemory);
  } catch (const std::exception &) {
    _exit(kFailed);
  }
  channel.Flush();
  _exit(0);
}

std::string Seconds(std::chrono::milliseconds timeout) {
  const long long ms = timeout.count();
  return ms % 1000 == 0 ? std::to_string(ms / 1000) + " seconds" : std::to_string(ms) + " ms";
}

} // namespace

void TReaderChannel::Put(char kind, const TReaderMessage &message) {
  std::size_t size = 0;
  for (const std::string &part : message)
    size += 4 + part.size();
  FBuffer.push_back(kind);
  PutSize(FBuffer, size);
  for (const std::string &part : message) {
    PutSize(FBuffer, part.size());
    FBuffer += part;
  }
  if (FBuffer.size() >= kBlock)
    Flush();
}

void TReaderChannel::Send(const TReaderMessage &message) { Put(kMessage, message); }

void TReaderChannel::Fail(const std::string &error) {
  Put(kError, {error});
  Flush();
}

void TReaderChannel::Flush() {
  if (!WriteAll(FDescriptor, FBuffer))
    _exit(kParentGone);
  FBuffer.clear();
}

TReaderProcess::TReaderProcess(std::string subject, std::size_t memoryAllowance, const TJob &job,
                               std::chrono::milliseconds timeout)
    : FSubject(std::move(subject)), FTimeout(timeout) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0)
    throw EDatabaseError("Cannot read " + FSubject + ": " + std::strerror(errno) + ".");
  // Room for many blocks, so that the reader reads on while the rows before
  // are taken in; where the system allows less, the default serves.
  fcntl(ends[0], F_SETPIPE_SZ, kPipeSize);
  const pid_t parent = getpid();
  FChild = fork();
  if (FChild == 0)
    RunChild(ends[1], parent, memoryAllowance, job);
  const int error = errno;
  close(ends[1]);
  if (FChild < 0) {
    close(ends[0]);
    throw EDatabaseError("Cannot read " + FSubject + ": " + std::strerror(error) + ".");
  }
  FDescriptor = ends[0];
}

TReaderProcess::~TReaderProcess() { Stop(); }

void TReaderProcess::Stop() {
  if (FChild > 0) {
    kill(FChild, SIGKILL);
    while (waitpid(FChild, nullptr, 0) < 0 && errno == EINTR) {
    }
    FChild = -1;
  }
  if (FDescriptor >= 0) {
    close(FDescriptor);
    FDescriptor = -1;
  }
}

void TReaderProcess::Stopped(const std::string &why) {
  Stop();
  FEnded = true;
  FError = "Cannot read " + FSubject + ": " + why + ". The file is probably damaged.";
  throw EDatabaseError(FError);
}

// How the child ended, once it has closed the pipe: empty for a clean end.
std::string TReaderProcess::Ending() {
  int status = 0;
  while (waitpid(FChild, &status, 0) < 0 && errno == EINTR) {
  }
  FChild = -1;
  if (WIFSIGNALED(status))
    return std::string("the reader crashed (") + strsignal(WTERMSIG(status)) + ")";
  if (WIFEXITED(status) && WEXITSTATUS(status) == kOutOfMemory)
    return "the reader ran out of memory";
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return "the reader failed (exit status " + std::to_string(WEXITSTATUS(status)) + ")";
  return {};
}

// Reads what the child has sent; false at the end of the pipe. The frame begun
// and not yet taken moves to the front; the buffer grows only for a frame
// larger than what it holds.
bool TReaderProcess::Fill() {
  pollfd ready{FDescriptor, POLLIN, 0};
  int polled;
  while ((polled = poll(&ready, 1, static_cast<int>(FTimeout.count()))) < 0 && errno == EINTR) {
  }
  if (polled == 0)
    Stopped("the reader gave no sign of life for " + Seconds(FTimeout));
  if (FBegin > 0) {
    std::memmove(FBuffer.data(), FBuffer.data() + FBegin, FEnd - FBegin);
    FEnd -= FBegin;
    FBegin = 0;
  }
  if (FBuffer.size() < FEnd + kBlock)
    FBuffer.resize(FEnd + kBlock);
  ssize_t got;
  while ((got = read(FDescriptor, FBuffer.data() + FEnd, kBlock)) < 0 && errno == EINTR) {
  }
  FEnd += static_cast<std::size_t>(std::max<ssize_t>(got, 0));
  return got > 0;
}

// The next whole frame's payload, inside the buffer until the next Fill.
std::optional<std::string_view> TReaderProcess::TakeFrame(char &kind) {
  const std::size_t available = FEnd - FBegin;
  if (available < kFrameHead)
    return std::nullopt;
  const std::size_t size = GetSize(FBuffer.data() + FBegin + 1);
  if (available < kFrameHead + size)
    return std::nullopt;
  kind = FBuffer[FBegin];
  const std::string_view payload(FBuffer.data() + FBegin + kFrameHead, size);
  FBegin += kFrameHead + size;
  return payload;
}

std::optional<TReaderMessage> TReaderProcess::Receive() {
  TReaderMessage message;
  if (!Receive(message))
    return std::nullopt;
  return message;
}

bool TReaderProcess::Receive(TReaderMessage &message) {
  if (!FError.empty())
    throw EDatabaseError(FError);
  if (FEnded)
    return false;
  for (;;) {
    char kind = 0;
    if (const std::optional<std::string_view> payload = TakeFrame(kind)) {
      if (kind == kMessage) {
        Decode(*payload, message);
        return true;
      }
      TReaderMessage error;
      Decode(*payload, error);
      Stop();
      FEnded = true;
      FError = error.empty() ? "Cannot read " + FSubject + "." : error.front();
      throw EDatabaseError(FError);
    }
    if (!Fill()) {
      const bool cut = FBegin < FEnd; // a frame begun and never finished
      std::string ending = Ending();
      if (!ending.empty() || cut)
        Stopped(ending.empty() ? "the reader stopped in the middle of a message" : ending);
      Stop();
      FEnded = true;
      return false;
    }
  }
}
