// A plain tree of a parsed TOML document with the source position of every value and
// key. Only toml_tree.cpp includes the TOML library, which keeps the rest of the builder
// quick to compile and lets the project reader work on simple structs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "diagnostics.h"

namespace kvb::pack {

struct TomlMember;

struct TomlNode {
  enum class Type { kString, kInteger, kFloat, kBool, kDateTime, kTable, kArray };
  Type type = Type::kTable;
  SourcePos pos;     // where the value starts
  std::string text;  // string value (UTF-8); a date-time as "YYYY-MM-DD HH:MM:SS"
  int64_t integer = 0;
  double number = 0;
  bool boolean = false;
  // Strings: where the text itself starts and whether every character of it stands in
  // the file as written (a literal string, or a basic one without escapes), so that
  // positions inside it can be mapped back to the file.
  SourcePos text_pos;
  bool text_verbatim = false;

  using Member = TomlMember;
  std::vector<TomlMember> members;  // tables, in key order
  std::vector<TomlNode> items;      // arrays

  // The member of a table with this key, or nullptr.
  const TomlNode* Find(std::string_view key) const;
};

struct TomlMember {
  std::string key;
  SourcePos key_pos;
  TomlNode value;
};

// "string", "integer" ...: for messages.
const char* TypeName(TomlNode::Type type);

// Parses a TOML document. Throws ProjectError (with file, line and column) when it is
// not valid TOML.
TomlNode ParseToml(std::string_view content, const std::string& file);

}  // namespace kvb::pack
