#include "util/Ansi.h"

#include <cerrno>
#include <iconv.h>
#include <map>
#include <stdexcept>
#include <utility>

namespace {

// The five bytes that Windows-1252 leaves undefined; Windows maps each to the C1
// control of the same value, and so do we, so that no byte is lost on the way.
bool IsUndefinedAnsiByte(unsigned b) {
  return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

struct Unconvertible {
  std::size_t inputBytes;    // how much input to pass over
  unsigned replacementUnit;  // what to write for it, one unit of the output
};

// Opening a converter costs more than most conversions, and the data layer
// converts every value: keep one per direction and thread.
iconv_t Converter(const char *to, const char *from) {
  struct Cache {
    std::map<std::pair<std::string, std::string>, iconv_t> handles;
    ~Cache() {
      for (auto &entry : handles)
        iconv_close(entry.second);
    }
  };
  thread_local Cache cache;
  auto [it, inserted] = cache.handles.try_emplace({to, from}, iconv_t{});
  if (inserted) {
    it->second = iconv_open(to, from);
    if (it->second == reinterpret_cast<iconv_t>(-1)) {
      cache.handles.erase(it);
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
  }
  iconv(it->second, nullptr, nullptr, nullptr, nullptr); // back to the initial state
  return it->second;
}

// Converts with iconv; where iconv stops at input the target lacks (or that is
// malformed), `onError` says what to skip and write, and conversion goes on.
template <typename Out, typename OnError>
Out Convert(const char *to, const char *from, const char *in, std::size_t inBytes, OnError onError) {
  iconv_t cd = Converter(to, from);
  using Unit = typename Out::value_type;
  Out out;
  out.reserve(inBytes);
  char *src = const_cast<char *>(in);
  std::size_t srcLeft = inBytes;
  char buffer[4096];
  while (srcLeft > 0) {
    char *dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    const std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    const int error = errno;
    out.append(reinterpret_cast<const Unit *>(buffer), (dst - buffer) / sizeof(Unit));
    if (rc != static_cast<std::size_t>(-1) || error == E2BIG)
      continue;
    const Unconvertible skip = onError(reinterpret_cast<const unsigned char *>(src), srcLeft);
    src += skip.inputBytes;
    srcLeft -= skip.inputBytes;
    out.push_back(static_cast<Unit>(skip.replacementUnit));
  }
  return out;
}

Unconvertible FromAnsiError(const unsigned char *at, std::size_t) {
  return {1, IsUndefinedAnsiByte(*at) ? *at : unsigned('?')};
}

Unconvertible FromUtf8Error(const unsigned char *at, std::size_t left) {
  if (left >= 2 && at[0] == 0xC2 && IsUndefinedAnsiByte(at[1]))
    return {2, at[1]};
  // One "?" per character: the lead byte and the continuation bytes that follow it.
  const std::size_t expected = at[0] >= 0xF5 ? 1 : at[0] >= 0xF0 ? 4 : at[0] >= 0xE0 ? 3 : at[0] >= 0xC2 ? 2 : 1;
  std::size_t length = 1;
  while (length < expected && length < left && (at[length] & 0xC0) == 0x80)
    ++length;
  return {length, '?'};
}

Unconvertible FromUtf16Error(const unsigned char *at, std::size_t left) {
  const unsigned unit = at[0] | (left >= 2 ? at[1] << 8 : 0);
  if (IsUndefinedAnsiByte(unit))
    return {2, unit};
  const bool surrogatePair = unit >= 0xD800 && unit < 0xDC00 && left >= 4;
  return {surrogatePair ? 4u : left < 2 ? left : 2u, '?'};
}

} // namespace

AnsiString Utf8ToAnsi(std::string_view utf8) {
  return Convert<std::string>("WINDOWS-1252", "UTF-8", utf8.data(), utf8.size(), FromUtf8Error);
}

AnsiString Utf16ToAnsi(std::u16string_view utf16) {
  return Convert<std::string>("WINDOWS-1252", "UTF-16LE", reinterpret_cast<const char *>(utf16.data()),
                              utf16.size() * sizeof(char16_t), FromUtf16Error);
}

std::string AnsiToUtf8(std::string_view ansi) {
  // UTF-8 output needs the C1 controls as two bytes: convert through UTF-16.
  const std::u16string wide = AnsiToUtf16(ansi);
  return Convert<std::string>("UTF-8", "UTF-16LE", reinterpret_cast<const char *>(wide.data()),
                              wide.size() * sizeof(char16_t), FromUtf16Error);
}

std::u16string AnsiToUtf16(std::string_view ansi) {
  return Convert<std::u16string>("UTF-16LE", "WINDOWS-1252", ansi.data(), ansi.size(), FromAnsiError);
}

char AnsiUpperChar(char c) {
  const auto b = static_cast<unsigned char>(c);
  if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7))
    return static_cast<char>(b - 0x20);
  switch (b) {
  case 0x9A: return static_cast<char>(0x8A); // š
  case 0x9C: return static_cast<char>(0x8C); // œ
  case 0x9E: return static_cast<char>(0x8E); // ž
  case 0xFF: return static_cast<char>(0x9F); // ÿ
  default: return c;
  }
}

AnsiString AnsiUpperCase(std::string_view s) {
  AnsiString upper(s);
  for (char &c : upper)
    c = AnsiUpperChar(c);
  return upper;
}

bool AnsiSameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AnsiUpperChar(a[i]) != AnsiUpperChar(b[i]))
      return false;
  return true;
}
