#include "song/SongFile.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "song/SongFileErrors.h"
#include "tests/SongFiles.h"
#include "tests/TempDir.h"

namespace fs = std::filesystem;

class SongFileWriting : public testing::Test {
protected:
  void SetUp() override { std::ofstream(target) << "old content"; }

  TempDir dir;
  fs::path target = dir.path() / "Song.sng";
};

// Runs in a child process whose files may not grow past 1 KiB, as on a full disk.
int WriteWithFileSizeLimit(const fs::path &target) {
  std::signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{1024, 1024};
  setrlimit(RLIMIT_FSIZE, &limit);
  try {
    WriteFileReplacing(target, std::string(100000, 'x'));
  } catch (const EWriteError &error) {
    return std::string(error.what()) == "Stream write error" ? 0 : 2;
  }
  return 1;
}

TEST_F(SongFileWriting, AFailingWriteKeepsTheOldFileAndLeavesNoTemporaryFile) {
  EXPECT_EXIT(std::exit(WriteWithFileSizeLimit(target)), testing::ExitedWithCode(0), "");
  EXPECT_EQ(ReadBytes(target), "old content");
  EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{"Song.sng"});
}

TEST_F(SongFileWriting, AReadOnlyFileIsNotReplaced) {
  fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  try {
    WriteFileReplacing(target, "new");
    FAIL() << "no error";
  } catch (const EFCreateError &error) {
    EXPECT_EQ(std::string(error.what()), "Cannot create file \"" + target.string() + "\". Permission denied");
  }
  EXPECT_EQ(ReadBytes(target), "old content");
  EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{"Song.sng"});
}

TEST_F(SongFileWriting, ADirectoryOfTheNameIsNotReplaced) {
  fs::remove(target);
  fs::create_directory(target);
  EXPECT_THROW(WriteFileReplacing(target, "new"), EFCreateError);
  EXPECT_TRUE(fs::is_directory(target));
}

TEST_F(SongFileWriting, ReplacingKeepsThePermissionsOfTheOldFile) {
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
  WriteFileReplacing(target, "new");
  EXPECT_EQ(ReadBytes(target), "new");
  EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(SongFileWriting, ANewFileGetsTheModeTheUmaskGivesAndNoTemporaryFileStays) {
  const fs::path fresh = dir.path() / "Neu.sng";
  WriteFileReplacing(fresh, "new");
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(static_cast<mode_t>(fs::status(fresh).permissions()), 0666 & ~mask);
  EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"Neu.sng", "Song.sng"}));
}

// A crash can leave the temporary file's name taken; that file is not ours to touch.
TEST_F(SongFileWriting, ATakenTemporaryNameIsPassedOver) {
  const fs::path leftover = dir.path() / (".tabulift-" + std::to_string(getpid()) + ".tmp");
  std::ofstream(leftover) << "leftover";
  WriteFileReplacing(target, "new");
  EXPECT_EQ(ReadBytes(target), "new");
  EXPECT_EQ(ReadBytes(leftover), "leftover");
  EXPECT_EQ(FileNames(dir.path()).size(), 2u);
}

TEST(SongFileFolders, AMissingFolderIsMadeOnlyWhenAsked) {
  TempDir dir;
  const fs::path file = dir.path() / "a" / "b" / "Song.sng";
  try {
    WriteFileReplacing(file, "x");
    FAIL() << "no error";
  } catch (const EFCreateError &error) {
    EXPECT_EQ(std::string(error.what()), "Cannot create file \"" + file.string() + "\". No such file or directory");
  }
  EXPECT_FALSE(fs::exists(dir.path() / "a"));
  WriteFileReplacing(file, "x", TMissingFolder::Create);
  EXPECT_EQ(ReadBytes(file), "x");
}
