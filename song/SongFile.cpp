#include "song/SongFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "song/SongFileErrors.h"

namespace fs = std::filesystem;

namespace {

[[noreturn]] void ThrowCreateError(const fs::path &fileName, int error) {
  std::error_code ignored;
  const fs::path shown = fs::absolute(fileName, ignored);
  throw EFCreateError("Cannot create file \"" + (shown.empty() ? fileName : shown).string() + "\". " +
                      std::strerror(error));
}

// Closes and removes the temporary file unless it has been renamed into place.
class TemporaryFile {
public:
  explicit TemporaryFile(const fs::path &beside) : FPath((beside.parent_path() / ".tabulift-XXXXXX").string()) {
    FDescriptor = mkstemp(FPath.data());
  }
  ~TemporaryFile() {
    if (FDescriptor >= 0)
      close(FDescriptor);
    if (!FKept)
      unlink(FPath.c_str());
  }
  TemporaryFile(const TemporaryFile &) = delete;
  TemporaryFile &operator=(const TemporaryFile &) = delete;

  bool IsOpen() const { return FDescriptor >= 0; }
  int Descriptor() const { return FDescriptor; }
  const char *Path() const { return FPath.c_str(); }

  bool CloseFile() {
    const int descriptor = FDescriptor;
    FDescriptor = -1;
    return close(descriptor) == 0;
  }
  void Keep() { FKept = true; }

private:
  std::string FPath;
  int FDescriptor = -1;
  bool FKept = false;
};

bool WriteAll(int descriptor, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = write(descriptor, content.data(), content.size());
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return false;
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

mode_t DefaultFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// The new file keeps the permissions of the one it replaces, or gets those of a
// freshly created file.
mode_t ModeFor(const struct stat *existing) {
  static const mode_t defaultMode = DefaultFileMode();
  return existing ? existing->st_mode & 07777 : defaultMode;
}

} // namespace

void WriteFileReplacing(const fs::path &fileName, std::string_view content) {
  struct stat existing {};
  const bool exists = stat(fileName.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode))
    ThrowCreateError(fileName, EISDIR);
  // A file without any write permission is read-only, as on Windows; root would
  // otherwise replace it unasked.
  if (exists && (existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
    ThrowCreateError(fileName, EACCES);

  TemporaryFile temporary(fileName);
  if (!temporary.IsOpen())
    ThrowCreateError(fileName, errno);
  if (fchmod(temporary.Descriptor(), ModeFor(exists ? &existing : nullptr)) != 0)
    ThrowCreateError(fileName, errno);
  if (!WriteAll(temporary.Descriptor(), content) || !temporary.CloseFile())
    throw EWriteError();
  if (rename(temporary.Path(), fileName.c_str()) != 0)
    ThrowCreateError(fileName, errno);
  temporary.Keep();
}
