#include "util/DUtil.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

#include "tests/TempDir.h"

namespace fs = std::filesystem;

struct FetchCase {
  std::string input;
  char separator;
  std::string token;
  std::string rest;
};

class FetchTokenCases : public testing::TestWithParam<FetchCase> {};

TEST_P(FetchTokenCases, SplitsAtTheFirstSeparator) {
  std::string s = GetParam().input;
  EXPECT_EQ(FetchToken(s, GetParam().separator), GetParam().token);
  EXPECT_EQ(s, GetParam().rest);
}

INSTANTIATE_TEST_SUITE_P(Cases, FetchTokenCases, testing::Values(
  FetchCase{"C-Dur", '-', "C", "Dur"},
  FetchCase{"-Dur", '-', "", "Dur"},
  FetchCase{"C Dur", '-', "C Dur", ""},
  FetchCase{"", '-', "", ""},
  FetchCase{"a--b", '-', "a", "-b"}));

struct CutCase {
  std::string input;
  int index, count;
  std::string cut;
  std::string rest;
};

class CutStringCases : public testing::TestWithParam<CutCase> {};

TEST_P(CutStringCases, RemovesTheCutRun) {
  std::string s = GetParam().input;
  EXPECT_EQ(CutString(s, GetParam().index, GetParam().count), GetParam().cut);
  EXPECT_EQ(s, GetParam().rest);
}

INSTANTIATE_TEST_SUITE_P(Cases, CutStringCases, testing::Values(
  CutCase{"abcdef", 1, 2, "ab", "cdef"},
  CutCase{"abcdef", 3, 2, "cd", "abef"},
  CutCase{"abcdef", 5, 10, "ef", "abcd"},  // cut short at the end
  CutCase{"abcdef", 7, 1, "", "abcdef"},   // behind the last character
  CutCase{"abcdef", 2, 0, "", "abcdef"},
  CutCase{"abcdef", 2, -1, "", "abcdef"}));

class DocumentsFolder : public testing::Test {
protected:
  void SetUp() override {
    SaveEnv("HOME");
    SaveEnv("XDG_CONFIG_HOME");
    setenv("HOME", home.path().c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
  }
  void TearDown() override {
    for (auto &[name, value] : saved)
      value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
  }
  void SaveEnv(const std::string &name) {
    const char *value = std::getenv(name.c_str());
    saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
  }
  void WriteUserDirs(const std::string &line) {
    fs::create_directories(home.path() / ".config");
    std::ofstream(home.path() / ".config" / "user-dirs.dirs") << "# written by a test\n" << line << "\n";
  }

  TempDir home;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved;
};

TEST_F(DocumentsFolder, ComesFromUserDirsWithATrailingSeparator) {
  WriteUserDirs("XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"");
  EXPECT_EQ(GetMyDocumentsPath(), home.path().string() + "/Dokumente/");
}

TEST_F(DocumentsFolder, AcceptsAnAbsolutePathAndKeepsAnExistingSeparator) {
  WriteUserDirs("XDG_DOCUMENTS_DIR=\"/srv/Łódź/\"");
  EXPECT_EQ(GetSpecialFolderPath(CSIDL_PERSONAL), "/srv/Łódź/");
}

TEST_F(DocumentsFolder, FallsBackToAnExistingDocumentsFolderInHome) {
  EXPECT_EQ(GetMyDocumentsPath(), fs::path()); // none yet
  fs::create_directory(home.path() / "Documents");
  EXPECT_EQ(GetMyDocumentsPath(), home.path().string() + "/Documents/");
}

TEST_F(DocumentsFolder, OtherFoldersAreUnknown) {
  fs::create_directory(home.path() / "Documents");
  EXPECT_EQ(GetSpecialFolderPath(0x10), fs::path());
}
