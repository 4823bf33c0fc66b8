#include "song/CreateSngUnit.h"

#include <algorithm>

#include "song/SongFile.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTitle = "#Title";
constexpr std::string_view kTitel = "#Titel";
constexpr std::string_view kUnnamed = "Unbenannt";
constexpr std::size_t kHeaderSetters = 14;

// The longest name part (before ".sng") in the file system's bytes; well below
// the usual 255-byte limit, so a long title cannot make the file system refuse it.
constexpr std::size_t kMaxNameBytes = 240;

// The entry's name ends at its first "=", so it can only be `name` when the
// "=" stands right after it; that rules out most entries at a glance.
bool HasName(std::string_view entry, std::string_view name) {
  return entry.size() > name.size() && entry[name.size()] == '=' && name.find('=') == std::string_view::npos &&
         AnsiSameText(entry.substr(0, name.size()), name);
}

// A header entry is one line of the file: every line break in a value becomes
// one blank, so a value can neither break the header nor end it with "---".
void AppendOneLine(AnsiString &line, std::string_view value) {
  if (value.find('\r') == std::string_view::npos && value.find('\n') == std::string_view::npos) {
    line.append(value); // the usual case, at once rather than byte by byte
    return;
  }
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n')
      continue; // the LF of this pair writes the blank
    line.push_back(c == '\r' || c == '\n' ? ' ' : c);
  }
}

bool IsFileNameByte(unsigned char b) {
  return b == ' ' || (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') ||
         b == 0xC4 || b == 0xD6 || b == 0xDC || b == 0xDF || b == 0xE4 || b == 0xF6 || b == 0xFC;
}

// Keeps the 70 byte values a song file name may hold: blank, digits, ASCII
// letters, umlauts and sharp s. Everything else, slashes and dots included, goes.
AnsiString FilterFileName(std::string_view title) {
  AnsiString name;
  name.reserve(title.size());
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
  std::size_t lineFeeds = 0;
  for (std::size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1))
    ++lineFeeds;
  FLines.reserve(lineFeeds + 1);
  // One search per kind of break, each taken up again only once passed: far
  // fewer steps than testing every byte for both.
  std::size_t nextCr = text.find('\r'), nextLf = text.find('\n');
  std::size_t start = 0;
  while (start < text.size()) {
    if (nextCr < start)
      nextCr = text.find('\r', start);
    if (nextLf < start)
      nextLf = text.find('\n', start);
    const std::size_t end = std::min(nextCr, nextLf);
    FLines.emplace_back(text.substr(start, end - start));
    if (end == std::string_view::npos)
      break;
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
  if (FHeader.empty())
    FHeader.reserve(kHeaderSetters); // room for every setter's entry at once
  auto entry = FHeader.begin();
  while (entry != FHeader.end() && !HasName(*entry, name))
    ++entry;
  if (value.empty()) {
    if (entry != FHeader.end())
      FHeader.erase(entry);
    return;
  }
  AnsiString line;
  line.reserve(name.size() + 1 + value.size());
  line.append(name).push_back('=');
  AppendOneLine(line, value);
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
  const std::string_view firstLine = FLines.empty() ? std::string_view() : std::string_view(FLines.front());
  if (AnsiString name = FilterFileName(title.empty() ? firstLine : title); !name.empty())
    return name;
  if (AnsiString name = FilterFileName(firstLine); !name.empty())
    return name;
  return AnsiString(kUnnamed);
}

fs::path SongFileName(std::string_view fileTitle, std::string_view nameSuffix) {
  const std::string suffix = nameSuffix.empty() ? std::string() : AnsiToUtf8(nameSuffix);
  const std::size_t room = suffix.size() < kMaxNameBytes ? kMaxNameBytes - suffix.size() : 0;
  return CutUtf8(AnsiToUtf8(fileTitle), room) + suffix + ".sng";
}

AnsiString SongFileStem(std::string_view fileTitle, std::string_view nameSuffix) {
  // A Windows-1252 byte takes at most three bytes in UTF-8: a name this short
  // is never cut, and needs no conversion to tell.
  if (3 * (fileTitle.size() + nameSuffix.size()) <= kMaxNameBytes)
    return AnsiString(fileTitle).append(nameSuffix);
  const std::string name = SongFileName(fileTitle, nameSuffix).native();
  return Utf8ToAnsi(std::string_view(name).substr(0, name.size() - std::string_view(".sng").size()));
}

std::string TSimpleSNG::FileContent() const {
  std::size_t size = 5; // "---\r\n"
  for (const AnsiString &line : FHeader)
    size += line.size() + 2;
  for (const AnsiString &line : FLines)
    size += line.size() + 2;
  std::string content;
  content.reserve(size);
  const auto appendLine = [&content](std::string_view line) { content.append(line).append("\r\n"); };
  for (const AnsiString &entry : FHeader)
    appendLine(entry);
  appendLine("---");
  for (const AnsiString &line : FLines)
    appendLine(line);
  return content;
}

fs::path TSimpleSNG::SaveToDirectory(const fs::path &directory, std::string_view nameSuffix) {
  const AnsiString fileTitle = FileTitle();
  if (FLines.empty()) {
    std::error_code ignored; // nothing is written, so nothing can fail
    fs::create_directories(directory, ignored);
    return {};
  }
  // The folder is made only when the file cannot be created for want of it:
  // asking for it before each file would cost a call per file.
  const fs::path fileName = directory / SongFileName(fileTitle, nameSuffix);
  WriteFileReplacing(fileName, FileContent(), TMissingFolder::Create);
  return fileName;
}

void TSimpleSNG::SaveToFile(const fs::path &fileName) const { WriteFileReplacing(fileName, FileContent()); }
