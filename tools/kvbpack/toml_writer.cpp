#include "toml_writer.h"

#include <cmath>
#include <cstdio>

#include "codepage.h"

namespace kvb::pack {
namespace {

bool IsBare(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_';
}

// Control characters other than tab (and, when `allow_newline`, the line feed) cannot
// stand in literal strings.
bool HasControl(std::string_view s, bool allow_newline = false) {
  for (char c : s) {
    const uint8_t b = static_cast<uint8_t>(c);
    if ((b < 0x20 && c != '\t' && !(allow_newline && c == '\n')) || b == 0x7F)
      return true;
  }
  return false;
}

std::string BasicString(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    const uint8_t b = static_cast<uint8_t>(c);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (b < 0x20 || b == 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04X", b);
          out += buf;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

}  // namespace

std::string TomlWriter::Quote(std::string_view utf8) {
  if (utf8.find('\'') == std::string_view::npos && !HasControl(utf8) &&
      utf8.find('\\') != std::string_view::npos) {
    return "'" + std::string(utf8) + "'";
  }
  return BasicString(utf8);
}

std::string TomlWriter::QuoteAnsi(std::string_view ansi) {
  return Quote(AnsiToUtf8(ansi));
}

std::string TomlWriter::Key(std::string_view key) {
  for (char c : key) {
    if (!IsBare(c))
      return BasicString(key);
  }
  return key.empty() ? "\"\"" : std::string(key);
}

void TomlWriter::Flush() {
  if (lines_.empty() && !always_)
    return;
  if (!out_.empty())
    out_ += "\n";
  out_ += header_ + lines_;
  lines_.clear();
  always_ = false;
}

void TomlWriter::Table(std::string_view name) {
  Flush();
  header_ = "[" + std::string(name) + "]\n";
}

void TomlWriter::ArrayTable(std::string_view name) {
  Flush();
  header_ = "[[" + std::string(name) + "]]\n";
  always_ = true;
}

void TomlWriter::Comment(std::string_view text) {
  lines_ += "# " + std::string(text) + "\n";
}

void TomlWriter::Line(std::string_view key, const std::string& value) {
  lines_ += Key(key) + " = " + value + "\n";
}

void TomlWriter::Text(std::string_view key, std::string_view ansi) {
  Line(key, QuoteAnsi(ansi));
}
void TomlWriter::Utf8(std::string_view key, std::string_view utf8) {
  Line(key, Quote(utf8));
}

void TomlWriter::Script(std::string_view key, std::string_view utf8) {
  // The script printer writes control characters as #n, so only the line ends remain;
  // three quotes in a row would end the literal, so such a script takes escapes.
  if (utf8.find("'''") == std::string_view::npos && !HasControl(utf8, true)) {
    Line(key, "'''\n" + std::string(utf8) + "'''");
  } else {
    Line(key, BasicString(utf8));
  }
}

void TomlWriter::Integer(std::string_view key, int64_t value) {
  Line(key, std::to_string(value));
}

void TomlWriter::Hex(std::string_view key, uint32_t value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", value);
  Line(key, buf);
}

void TomlWriter::Bool(std::string_view key, bool value) {
  Line(key, value ? "true" : "false");
}

void TomlWriter::Double(std::string_view key, double value) {
  // 17 significant digits bring back the same double.
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", value);
  std::string text = buf;
  if (!std::isfinite(value))
    text = std::isnan(value) ? "nan" : value > 0 ? "inf" : "-inf";
  else if (text.find_first_of(".en") == std::string::npos)
    text += ".0";
  Line(key, text);
}

void TomlWriter::Raw(std::string_view key, std::string_view value_text) {
  Line(key, std::string(value_text));
}

void TomlWriter::TextArray(std::string_view key, const std::vector<std::string>& ansi_items) {
  std::string value = "[";
  for (size_t i = 0; i < ansi_items.size(); ++i)
    value += (i ? ", " : "") + QuoteAnsi(ansi_items[i]);
  Line(key, value + "]");
}

std::string TomlWriter::Take() {
  Flush();
  return std::move(out_);
}

}  // namespace kvb::pack
