// Typed, checked access to one table of a project file. Every getter reports a value
// of the wrong type or out of range with its position; Finish() reports the keys that
// no getter asked for, so a misspelt key never goes unnoticed.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics.h"
#include "names.h"
#include "pe_version.h"
#include "setupdata/records.h"
#include "toml_tree.h"

namespace kvb::pack {

class TableReader {
 public:
  // `where` names the table in messages, e.g. "[[file]]".
  TableReader(const TomlNode& table, Diagnostics& diag, std::string where);

  const TomlNode& node() const { return table_; }
  Diagnostics& diag() { return diag_; }
  const std::string& where() const { return where_; }

  // The value of a key (marking the key as known), or nullptr when it is absent.
  const TomlNode* Get(std::string_view key);

  // Each getter leaves `out` unchanged and returns false when the key is absent or its
  // value is wrong (the latter reported).
  // A string in the package code page, at most `limit` characters when limit > 0.
  bool Text(std::string_view key, std::string& out, size_t limit = 0);
  // A string or an array of strings joined with `separator`.
  bool TextList(std::string_view key, std::string& out, std::string_view separator);
  bool Strings(std::string_view key, std::vector<std::string>& out);
  bool Byte(std::string_view key, uint8_t& out);  // integer 0-255 or boolean
  bool U32(std::string_view key, uint32_t& out);  // integer 0-4294967295
  bool I32(std::string_view key, int32_t& out);   // integer of 32 bits
  bool Double(std::string_view key, double& out);
  bool Bool(std::string_view key, bool& out);
  // A name of the list or an integer up to `max`.
  bool Enum(std::string_view key, NameList names, uint32_t max, uint32_t& out);
  bool Enum8(std::string_view key, NameList names, uint8_t& out);
  bool Font(std::string_view key, TFontRecord& out);
  bool DosDate(std::string_view key, uint32_t& out);     // date-time, "YYYY-MM-DD ..." or integer
  bool Version(std::string_view key, FileVersion& out);  // "a.b.c.d"
  bool Size(std::string_view key, uint64_t& out);        // integer or "1440K", "650M"

  // A sub-table, or nullptr (wrong types reported).
  const TomlNode* Table(std::string_view key);
  // An array of tables (a missing key gives none).
  std::vector<const TomlNode*> Tables(std::string_view key);

  // Reports every key that no getter asked for.
  void Finish();

  // Reports a problem with a value.
  void Error(const TomlNode& value, const std::string& message);

  // Converts a UTF-8 string value to the package code page, reporting characters that
  // have no code.
  std::optional<std::string> ToAnsi(const TomlNode& value);

 private:
  void U8Style(uint8_t& out);
  bool Integer(const TomlNode& value, std::string_view key, int64_t min, int64_t max, int64_t& out);

  const TomlNode& table_;
  Diagnostics& diag_;
  std::string where_;
  std::set<std::string, std::less<>> known_;
};

// Parses "a.b" / "a.b.c" packed Windows versions (major << 24 | minor << 16 | build).
std::optional<uint32_t> ParsePackedVersion(std::string_view text);
// Parses "1440K", "650M", "1G" or a plain number of bytes.
std::optional<uint64_t> ParseSizeText(std::string_view text);

}  // namespace kvb::pack
