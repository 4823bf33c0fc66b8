#include "bench/ChildProcess.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Takes errno before anything else can change it.
[[noreturn]] void Fail(const char *what, const std::string &program) {
  const int error = errno;
  throw std::runtime_error(what + program + ": " + std::strerror(error));
}

// Runs in the forked child: only calls that are safe there.
[[noreturn]] void ExecuteWithOutput(const std::vector<char *> &arguments, const char *output) {
  const int descriptor = open(output, O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (descriptor < 0 || dup2(descriptor, STDOUT_FILENO) < 0)
    _exit(127);
  close(descriptor);
  execvp(arguments[0], arguments.data());
  _exit(127);
}

} // namespace

// A plain fork, not posix_spawn: the kernel carries the peak of the memory the
// child starts in over into its figure. A spawned child starts in the parent's
// memory and so reports at least the parent's whole peak; a forked one starts
// in a copy of what the parent holds at that moment.
long RunChild(const std::vector<std::string> &command, const std::filesystem::path &output) {
  std::vector<char *> arguments;
  for (const std::string &argument : command)
    arguments.push_back(const_cast<char *>(argument.c_str()));
  arguments.push_back(nullptr);

  const pid_t child = fork();
  if (child < 0)
    Fail("cannot start ", command[0]);
  if (child == 0)
    ExecuteWithOutput(arguments, output.c_str());

  int status = 0;
  rusage usage{};
  while (wait4(child, &status, 0, &usage) < 0)
    if (errno != EINTR)
      Fail("cannot wait for ", command[0]);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error(command[0] + (WIFEXITED(status) && WEXITSTATUS(status) == 127
                                               ? " cannot be run"
                                               : " failed (status " + std::to_string(status) + ")"));
  return usage.ru_maxrss;
}

long SelfPeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}
