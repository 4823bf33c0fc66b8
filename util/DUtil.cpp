#include "util/DUtil.h"

#include <cstdlib>
#include <fstream>

namespace fs = std::filesystem;

namespace {

fs::path HomeFolder() {
  const char *home = std::getenv("HOME");
  return home && *home ? fs::path(home) : fs::path();
}

fs::path ConfigFolder() {
  const char *config = std::getenv("XDG_CONFIG_HOME");
  if (config && *config)
    return config;
  const fs::path home = HomeFolder();
  return home.empty() ? fs::path() : home / ".config";
}

// Reads one entry of user-dirs.dirs, written as XDG_X_DIR="$HOME/Folder" or an
// absolute path in quotes.
fs::path UserDirFromConfig(const std::string &key) {
  const fs::path configFolder = ConfigFolder();
  if (configFolder.empty())
    return {};
  std::ifstream file(configFolder / "user-dirs.dirs");
  const std::string prefix = key + "=\"";
  for (std::string line; std::getline(file, line);) {
    if (line.rfind(prefix, 0) != 0 || line.size() < prefix.size() + 1 || line.back() != '"')
      continue;
    std::string value = line.substr(prefix.size(), line.size() - prefix.size() - 1);
    if (value.rfind("$HOME", 0) == 0) {
      const fs::path home = HomeFolder();
      if (home.empty())
        return {};
      value = home.string() + value.substr(5);
    }
    return fs::path(value).is_absolute() ? fs::path(value) : fs::path();
  }
  return {};
}

fs::path DocumentsFolder() {
  if (fs::path configured = UserDirFromConfig("XDG_DOCUMENTS_DIR"); !configured.empty())
    return configured;
  const fs::path home = HomeFolder();
  std::error_code error;
  if (!home.empty() && fs::is_directory(home / "Documents", error))
    return home / "Documents";
  return {};
}

} // namespace

fs::path GetSpecialFolderPath(int csidl) {
  const fs::path folder = csidl == CSIDL_PERSONAL ? DocumentsFolder() : fs::path();
  if (folder.empty() || folder.native().back() == fs::path::preferred_separator)
    return folder;
  return folder.native() + fs::path::preferred_separator;
}

fs::path GetMyDocumentsPath() { return GetSpecialFolderPath(CSIDL_PERSONAL); }

std::string CutString(std::string &s, int index, int count) {
  if (count <= 0 || index < 1 || static_cast<std::size_t>(index) > s.size())
    return {};
  const std::size_t start = static_cast<std::size_t>(index) - 1;
  std::string cut = s.substr(start, static_cast<std::size_t>(count));
  s.erase(start, cut.size());
  return cut;
}

std::string FetchToken(std::string &s, char separator) {
  const std::size_t at = s.find(separator);
  if (at == std::string::npos) {
    std::string token;
    token.swap(s);
    return token;
  }
  std::string token = s.substr(0, at);
  s.erase(0, at + 1);
  return token;
}
