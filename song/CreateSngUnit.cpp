#include "song/CreateSngUnit.h"

#include "song/SongFile.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTitle = "#Title";
constexpr std::string_view kTitel = "#Titel";
constexpr std::string_view kUnnamed = "Unbenannt";

// The longest name part (before ".sng") in the file system's bytes; well below
// the usual 255-byte limit, so a long title cannot make the file system refuse it.
constexpr std::size_t kMaxNameBytes = 240;

std::string_view EntryName(std::string_view entry) {
  const std::size_t equals = entry.find('=');
  return equals == std::string_view::npos ? std::string_view() : entry.substr(0, equals);
}

bool HasName(std::string_view entry, std::string_view name) {
  return entry.find('=') != std::string_view::npos && AnsiSameText(EntryName(entry), name);
}

// A header entry is one line of the file: every line break in a value becomes
// one blank, so a value can neither break the header nor end it with "---".
AnsiString OneLine(std::string_view value) {
  AnsiString line;
  line.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n')
      continue; // the LF of this pair writes the blank
    line.push_back(c == '\r' || c == '\n' ? ' ' : c);
  }
  return line;
}

bool IsFileNameByte(unsigned char b) {
  return b == ' ' || (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') ||
         b == 0xC4 || b == 0xD6 || b == 0xDC || b == 0xDF || b == 0xE4 || b == 0xF6 || b == 0xFC;
}

// Keeps the 70 byte values a song file name may hold: blank, digits, ASCII
// letters, umlauts and sharp s. Everything else, slashes and dots included, goes.
AnsiString FilterFileName(std::string_view title) {
  AnsiString name;
  for (const char c : title)
    if (IsFileNameByte(static_cast<unsigned char>(c)))
      name.push_back(c);
  return name;
}

// Cuts UTF-8 text to at most `limit` bytes without splitting a character.
std::string CutUtf8(std::string text, std::size_t limit) {
  if (text.size() <= limit)
    return text;
  std::size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
    --end;
  text.resize(end);
  return text;
}

} // namespace

void TSimpleSNG::SetText(std::string_view text) {
  FLines.clear();
  text = text.substr(0, text.find('\0'));
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      FLines.emplace_back(text.substr(start));
      break;
    }
    FLines.emplace_back(text.substr(start, end - start));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
}

AnsiString TSimpleSNG::GetValue(std::string_view name) const {
  for (const AnsiString &entry : FHeader)
    if (HasName(entry, name))
      return entry.substr(entry.find('=') + 1);
  return {};
}

void TSimpleSNG::SetValue(std::string_view name, std::string_view value) {
  auto entry = FHeader.begin();
  while (entry != FHeader.end() && !HasName(*entry, name))
    ++entry;
  if (value.empty()) {
    if (entry != FHeader.end())
      FHeader.erase(entry);
    return;
  }
  AnsiString line = AnsiString(name) + '=' + OneLine(value);
  if (entry != FHeader.end())
    *entry = std::move(line);
  else
    FHeader.push_back(std::move(line));
}

AnsiString TSimpleSNG::GetTitle() {
  if (AnsiString title = GetValue(kTitle); !title.empty())
    return title;
  AnsiString title = GetValue(kTitel);
  SetValue(kTitel, {});
  SetValue(kTitle, title);
  return title;
}

AnsiString TSimpleSNG::FileTitle() {
  const AnsiString title = GetTitle();
  const AnsiString firstLine = FLines.empty() ? AnsiString() : FLines.front();
  if (AnsiString name = FilterFileName(title.empty() ? firstLine : title); !name.empty())
    return name;
  if (AnsiString name = FilterFileName(firstLine); !name.empty())
    return name;
  return AnsiString(kUnnamed);
}

fs::path SongFileName(std::string_view fileTitle, std::string_view nameSuffix) {
  const std::string suffix = AnsiToUtf8(nameSuffix);
  const std::size_t room = suffix.size() < kMaxNameBytes ? kMaxNameBytes - suffix.size() : 0;
  return CutUtf8(AnsiToUtf8(fileTitle), room) + suffix + ".sng";
}

fs::path TSimpleSNG::SaveToDirectory(const fs::path &directory, std::string_view nameSuffix) {
  std::error_code ignored; // a directory that cannot be made fails as the file's creation
  fs::create_directories(directory, ignored);
  const AnsiString fileTitle = FileTitle();
  if (FLines.empty())
    return {};
  const fs::path fileName = directory / SongFileName(fileTitle, nameSuffix);
  SaveToFile(fileName);
  return fileName;
}

void TSimpleSNG::SaveToFile(const fs::path &fileName) const {
  std::string content;
  const auto appendLine = [&content](std::string_view line) { content.append(line).append("\r\n"); };
  for (const AnsiString &entry : FHeader)
    appendLine(entry);
  appendLine("---");
  for (const AnsiString &line : FLines)
    appendLine(line);
  WriteFileReplacing(fileName, content);
}
