// Writes TOML text for project files: tables of key lines, strings from package texts
// (Windows-1252 bytes, written as UTF-8), scripts as multi-line literal strings where
// their text allows it. Tables without keys are left out unless they are array entries.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kvb::pack {

class TomlWriter {
 public:
  // Starts "[name]" (left out when no key follows) or "[[name]]" (always written).
  void Table(std::string_view name);
  void ArrayTable(std::string_view name);
  void Comment(std::string_view text);  // "# text" in the current table

  // Key lines; `ansi` texts are package texts in Windows-1252.
  void Text(std::string_view key, std::string_view ansi);
  void Utf8(std::string_view key, std::string_view utf8);
  void Script(std::string_view key, std::string_view utf8);  // several lines
  void Integer(std::string_view key, int64_t value);
  void Hex(std::string_view key, uint32_t value);
  void Bool(std::string_view key, bool value);
  void Double(std::string_view key, double value);
  void Raw(std::string_view key, std::string_view value_text);  // already TOML
  void TextArray(std::string_view key, const std::vector<std::string>& ansi_items);

  std::string Take();

  // A TOML string literal of UTF-8 text: a literal string when the text allows one,
  // else a basic string with escapes.
  static std::string Quote(std::string_view utf8);
  static std::string QuoteAnsi(std::string_view ansi);
  // A key, quoted when it is not a bare key.
  static std::string Key(std::string_view key);

 private:
  void Line(std::string_view key, const std::string& value);
  void Flush();

  std::string out_;
  std::string header_;
  std::string lines_;
  bool always_ = false;
};

}  // namespace kvb::pack
