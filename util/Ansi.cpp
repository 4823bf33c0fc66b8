#include "util/Ansi.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>
#include <type_traits>

namespace {

enum Direction { kUtf8ToAnsi, kUtf16ToAnsi, kAnsiToUtf8, kAnsiToUtf16, kDirectionCount };

// iconv's names of the target and the source, by direction.
constexpr std::array<std::pair<const char *, const char *>, kDirectionCount> kCodes = {{
    {"WINDOWS-1252", "UTF-8"},
    {"WINDOWS-1252", "UTF-16LE"},
    {"UTF-8", "WINDOWS-1252"},
    {"UTF-16LE", "WINDOWS-1252"},
}};

// The five bytes that Windows-1252 leaves undefined; Windows maps each to the C1
// control of the same value, and so do we, so that no byte is lost on the way.
bool IsUndefinedAnsiByte(unsigned b) {
  return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

// Opening a converter costs more than most conversions, and the data layer
// converts every value: keep one per direction and thread.
iconv_t Converter(Direction direction) {
  struct Cache {
    std::array<iconv_t, kDirectionCount> handles{};
    ~Cache() {
      for (iconv_t handle : handles)
        if (handle)
          iconv_close(handle);
    }
  };
  thread_local Cache cache;
  iconv_t &handle = cache.handles[direction];
  if (!handle) {
    const auto [to, from] = kCodes[direction];
    const iconv_t opened = iconv_open(to, from);
    if (opened == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    handle = opened;
  }
  iconv(handle, nullptr, nullptr, nullptr, nullptr); // back to the initial state
  return handle;
}

template <typename Out> struct Unconvertible {
  std::size_t inputBytes; // how much input to pass over
  Out replacement;        // what to write for it
};

// Converts with iconv; where iconv stops at input the target lacks (or that is
// malformed), `onError` says what to skip and write, and conversion goes on.
template <typename Out, typename OnError>
Out Convert(Direction direction, const char *in, std::size_t inBytes, OnError onError) {
  iconv_t cd = Converter(direction);
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
    const Unconvertible<Out> skip = onError(reinterpret_cast<const unsigned char *>(src), srcLeft);
    src += skip.inputBytes;
    srcLeft -= skip.inputBytes;
    out.append(skip.replacement);
  }
  return out;
}

Unconvertible<std::string> FromUtf8Error(const unsigned char *at, std::size_t left) {
  if (left >= 2 && at[0] == 0xC2 && IsUndefinedAnsiByte(at[1]))
    return {2, std::string(1, static_cast<char>(at[1]))};
  // One "?" per character: the lead byte and the continuation bytes that follow it.
  const std::size_t expected = at[0] >= 0xF5 ? 1 : at[0] >= 0xF0 ? 4 : at[0] >= 0xE0 ? 3 : at[0] >= 0xC2 ? 2 : 1;
  std::size_t length = 1;
  while (length < expected && length < left && (at[length] & 0xC0) == 0x80)
    ++length;
  return {length, "?"};
}

Unconvertible<std::string> FromUtf16Error(const unsigned char *at, std::size_t left) {
  const unsigned unit = at[0] | (left >= 2 ? at[1] << 8 : 0);
  if (IsUndefinedAnsiByte(unit))
    return {2, std::string(1, static_cast<char>(unit))};
  const bool surrogatePair = unit >= 0xD800 && unit < 0xDC00 && left >= 4;
  return {surrogatePair ? 4u : left < 2 ? left : 2u, "?"};
}

Unconvertible<std::string> FromAnsiToUtf8Error(const unsigned char *at, std::size_t) {
  // The C1 control U+0080 to U+009F takes two bytes in UTF-8.
  return {1, IsUndefinedAnsiByte(*at) ? std::string{'\xC2', static_cast<char>(*at)} : std::string("?")};
}

Unconvertible<std::u16string> FromAnsiToUtf16Error(const unsigned char *at, std::size_t) {
  return {1, std::u16string(1, IsUndefinedAnsiByte(*at) ? char16_t(*at) : u'?')};
}

// Most song text is plain ASCII, which is the same in every one of these
// encodings: it is copied unit by unit, without iconv.
template <typename Unit> bool IsAscii(std::basic_string_view<Unit> text) {
  return std::all_of(text.begin(), text.end(),
                     [](Unit unit) { return static_cast<std::make_unsigned_t<Unit>>(unit) < 0x80; });
}

template <typename Out, typename In> Out CopyAscii(std::basic_string_view<In> text) {
  return Out(text.begin(), text.end());
}

} // namespace

AnsiString Utf8ToAnsi(std::string_view utf8) {
  if (IsAscii(utf8))
    return AnsiString(utf8);
  return Convert<std::string>(kUtf8ToAnsi, utf8.data(), utf8.size(), FromUtf8Error);
}

AnsiString Utf16ToAnsi(std::u16string_view utf16) {
  if (IsAscii(utf16))
    return CopyAscii<std::string>(utf16);
  return Convert<std::string>(kUtf16ToAnsi, reinterpret_cast<const char *>(utf16.data()),
                              utf16.size() * sizeof(char16_t), FromUtf16Error);
}

std::string AnsiToUtf8(std::string_view ansi) {
  if (IsAscii(ansi))
    return std::string(ansi);
  return Convert<std::string>(kAnsiToUtf8, ansi.data(), ansi.size(), FromAnsiToUtf8Error);
}

std::u16string AnsiToUtf16(std::string_view ansi) {
  if (IsAscii(ansi))
    return CopyAscii<std::u16string>(ansi);
  return Convert<std::u16string>(kAnsiToUtf16, ansi.data(), ansi.size(), FromAnsiToUtf16Error);
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
