#include "song/SongFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "song/SongFileErrors.h"
#include "util/WriteAll.h"

namespace fs = std::filesystem;

namespace {

[[noreturn]] void ThrowCreateError(const fs::path &fileName, int error) {
  std::error_code ignored;
  const fs::path shown = fs::absolute(fileName, ignored);
  throw EFCreateError("Cannot create file \"" + (shown.empty() ? fileName : shown).string() + "\". " +
                      std::strerror(error));
}

// The temporary file beside the target, under a name of our own: one per
// process, free again once renamed, so that the folder's index keeps finding
// it in the same place; O_EXCL passes on to a numbered name when it is taken
// (another thread, a crash's leftover). Created with 0666 so that the umask
// gives it the mode of any new file. Closed and removed unless it has been
// renamed into place.
class TemporaryFile {
public:
  explicit TemporaryFile(const fs::path &beside) {
    const std::string &target = beside.native();
    const std::size_t slash = target.rfind('/');
    FFolder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    Open();
  }
  ~TemporaryFile() {
    if (FDescriptor >= 0)
      close(FDescriptor);
    if (!FKept && !FPath.empty())
      unlink(FPath.c_str());
  }
  TemporaryFile(const TemporaryFile &) = delete;
  TemporaryFile &operator=(const TemporaryFile &) = delete;

  // Tries again, for a folder that was missing on the first try.
  bool Open() {
    static const std::string name = ".tabulift-" + std::to_string(getpid());
    for (int attempt = 0; attempt < 100; ++attempt) {
      FPath = FFolder + name + (attempt == 0 ? std::string() : "-" + std::to_string(attempt)) + ".tmp";
      FDescriptor = open(FPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (FDescriptor >= 0 || errno != EEXIST)
        break;
    }
    if (FDescriptor < 0) {
      FError = errno;
      FPath.clear();
    }
    return FDescriptor >= 0;
  }

  int Descriptor() const { return FDescriptor; }
  int Error() const { return FError; } // why the last Open failed
  const char *Path() const { return FPath.c_str(); }

  bool CloseFile() {
    const int descriptor = FDescriptor;
    FDescriptor = -1;
    return close(descriptor) == 0;
  }
  void Keep() { FKept = true; }

private:
  std::string FFolder;
  std::string FPath;
  int FDescriptor = -1;
  int FError = 0;
  bool FKept = false;
};

mode_t NewFileMode() {
  static const mode_t mode = [] {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
  }();
  return mode;
}

// Moves the complete temporary file over an existing target, which keeps its
// permissions. A file without any write permission is read-only, as on
// Windows, and stays; root would otherwise replace it unasked.
void Replace(TemporaryFile &temporary, const fs::path &fileName) {
  struct stat existing {};
  if (stat(fileName.c_str(), &existing) == 0) {
    if (S_ISDIR(existing.st_mode))
      ThrowCreateError(fileName, EISDIR);
    if ((existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
      ThrowCreateError(fileName, EACCES);
    const mode_t mode = existing.st_mode & 07777;
    if (mode != NewFileMode() && chmod(temporary.Path(), mode) != 0)
      ThrowCreateError(fileName, errno);
  }
  if (rename(temporary.Path(), fileName.c_str()) != 0)
    ThrowCreateError(fileName, errno);
}

} // namespace

void WriteFileReplacing(const fs::path &fileName, std::string_view content, TMissingFolder missingFolder) {
  TemporaryFile temporary(fileName);
  std::error_code folderError;
  if (temporary.Descriptor() < 0 && temporary.Error() == ENOENT && missingFolder == TMissingFolder::Create) {
    fs::create_directories(fileName.parent_path(), folderError);
    temporary.Open();
  }
  if (temporary.Descriptor() < 0) {
    // A folder that cannot be made fails as the file's creation, with the
    // reason the folder could not be made ("Permission denied") rather than
    // only that it is missing.
    const bool folderMissing = temporary.Error() == ENOENT && folderError;
    ThrowCreateError(fileName, folderMissing ? folderError.value() : temporary.Error());
  }
  if (!WriteAll(temporary.Descriptor(), content) || !temporary.CloseFile())
    throw EWriteError();
  // Most names are new: one call publishes the file, where asking first what
  // is there would cost a call for every file.
  if (renameat2(AT_FDCWD, temporary.Path(), AT_FDCWD, fileName.c_str(), RENAME_NOREPLACE) != 0)
    Replace(temporary, fileName);
  temporary.Keep();
}
