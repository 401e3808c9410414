#include "codepage.h"

#include <array>
#include <cstdint>

namespace kvb::pack {
namespace {

// Code points of the bytes 0x80-0x9F; the others equal their byte value.
constexpr std::array<uint16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::optional<uint8_t> ByteForCodePoint(uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
    return static_cast<uint8_t>(cp);
  for (size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == cp)
      return static_cast<uint8_t>(0x80 + i);
  }
  return std::nullopt;
}

// Decodes one UTF-8 sequence at `pos`; returns its length, or 0 when it is malformed.
size_t DecodeUtf8(std::string_view s, size_t pos, uint32_t& cp) {
  const auto b = [&](size_t i) { return static_cast<uint8_t>(s[pos + i]); };
  const uint8_t lead = b(0);
  size_t len = lead < 0x80         ? 1
               : (lead >> 5) == 6  ? 2
               : (lead >> 4) == 14 ? 3
               : (lead >> 3) == 30 ? 4
                                   : 0;
  if (len == 0 || pos + len > s.size())
    return 0;
  cp = len == 1 ? lead : len == 2 ? (lead & 0x1F) : len == 3 ? (lead & 0x0F) : (lead & 0x07);
  for (size_t i = 1; i < len; ++i) {
    if ((b(i) & 0xC0) != 0x80)
      return 0;
    cp = (cp << 6) | (b(i) & 0x3F);
  }
  static constexpr uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
    return 0;
  return len;
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::optional<std::string> Utf8ToAnsi(std::string_view utf8, size_t* bad_offset) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t pos = 0; pos < utf8.size();) {
    uint32_t cp = 0;
    const size_t len = DecodeUtf8(utf8, pos, cp);
    const std::optional<uint8_t> byte = len ? ByteForCodePoint(cp) : std::nullopt;
    if (!byte) {
      if (bad_offset)
        *bad_offset = pos;
      return std::nullopt;
    }
    out += static_cast<char>(*byte);
    pos += len;
  }
  return out;
}

std::string AnsiToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size());
  for (char c : ansi) {
    const uint8_t byte = static_cast<uint8_t>(c);
    AppendUtf8(out, byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte);
  }
  return out;
}

}  // namespace kvb::pack
