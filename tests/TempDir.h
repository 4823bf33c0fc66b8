#pragma once
// A fresh directory for one test, removed with everything in it afterwards.

#include <filesystem>
#include <stdexcept>
#include <stdlib.h>
#include <string>

class TempDir {
public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tabulift-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
      throw std::runtime_error("cannot create a temporary directory");
    FPath = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(FPath, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(FPath, ignored);
  }
  TempDir(const TempDir &) = delete;
  TempDir &operator=(const TempDir &) = delete;

  const std::filesystem::path &path() const { return FPath; }

private:
  std::filesystem::path FPath;
};
