#pragma once
// Runs the built tabulift-cli (TABULIFT_CLI) as a user would: no input, what it
// prints to stdout and stderr, and its exit status.

#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "tests/SongFiles.h"
#include "tests/TempDir.h"

struct TCliRun {
  int ExitCode = -1;
  std::string Out;
  std::string Err;
};

inline TCliRun RunCli(std::vector<std::string> arguments) {
  TempDir dir;
  const std::string out = (dir.path() / "out").string(), err = (dir.path() / "err").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  arguments.insert(arguments.begin(), TABULIFT_CLI);
  std::vector<char *> argv;
  for (std::string &argument : arguments)
    argv.push_back(argument.data());
  argv.push_back(nullptr);

  TCliRun run;
  pid_t pid = 0;
  int status = 0;
  if (posix_spawn(&pid, TABULIFT_CLI, &actions, nullptr, argv.data(), environ) == 0 &&
      waitpid(pid, &status, 0) == pid && WIFEXITED(status))
    run.ExitCode = WEXITSTATUS(status);
  posix_spawn_file_actions_destroy(&actions);
  run.Out = ReadBytes(out);
  run.Err = ReadBytes(err);
  return run;
}
