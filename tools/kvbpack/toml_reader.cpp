#include "toml_reader.h"

#include <cmath>

#include "base/text.h"
#include "codepage.h"
#include "dos_time.h"

namespace kvb::pack {
namespace {

constexpr NamedValue kFontStyles[] = {{1, "bold"},
                                      {2, "italic"},
                                      {4, "underline"},
                                      {8, "strike-out"}};

// Position of the character at byte `offset` of a string value, when it can be known.
SourcePos CharPos(const TomlNode& value, size_t offset) {
  if (!value.text_verbatim)
    return value.pos;
  SourcePos pos = value.text_pos;
  for (size_t i = 0; i < offset && i < value.text.size(); ++i) {
    const uint8_t c = static_cast<uint8_t>(value.text[i]);
    if (c == '\n') {
      ++pos.line;
      pos.column = 1;
    } else if ((c & 0xC0) != 0x80) {
      ++pos.column;
    }
  }
  return pos;
}

}  // namespace

TableReader::TableReader(const TomlNode& table, Diagnostics& diag, std::string where)
    : table_(table), diag_(diag), where_(std::move(where)) {}

const TomlNode* TableReader::Get(std::string_view key) {
  known_.insert(std::string(key));
  return table_.Find(key);
}

void TableReader::Error(const TomlNode& value, const std::string& message) {
  diag_.Error(value.pos, message);
}

std::optional<std::string> TableReader::ToAnsi(const TomlNode& value) {
  size_t bad = 0;
  std::optional<std::string> ansi = Utf8ToAnsi(value.text, &bad);
  if (!ansi) {
    diag_.Error(CharPos(value, bad),
                "this character has no Windows-1252 code (package texts "
                "are stored in that code page)");
  }
  return ansi;
}

bool TableReader::Text(std::string_view key, std::string& out, size_t limit) {
  const TomlNode* v = Get(key);
  if (!v)
    return false;
  if (v->type != TomlNode::Type::kString) {
    Error(*v, std::string(key) + " must be a string, not " + TypeName(v->type));
    return false;
  }
  std::optional<std::string> ansi = ToAnsi(*v);
  if (!ansi)
    return false;
  if (limit > 0 && ansi->size() > limit) {
    Error(*v, std::string(key) + " is " + std::to_string(ansi->size()) +
                  " characters long; the field holds " + std::to_string(limit));
    return false;
  }
  out = std::move(*ansi);
  return true;
}

bool TableReader::TextList(std::string_view key, std::string& out, std::string_view separator) {
  const TomlNode* v = table_.Find(key);
  if (!v || v->type != TomlNode::Type::kArray)
    return Text(key, out);
  std::vector<std::string> pieces;
  if (!Strings(key, pieces))
    return false;
  out = JoinText(pieces, separator);
  return true;
}

bool TableReader::Strings(std::string_view key, std::vector<std::string>& out) {
  const TomlNode* v = Get(key);
  if (!v)
    return false;
  if (v->type != TomlNode::Type::kArray) {
    Error(*v, std::string(key) + " must be an array of strings, not " + TypeName(v->type));
    return false;
  }
  std::vector<std::string> result;
  bool ok = true;
  for (const TomlNode& item : v->items) {
    if (item.type != TomlNode::Type::kString) {
      Error(item,
            "the items of " + std::string(key) + " must be strings, not " + TypeName(item.type));
      ok = false;
    } else if (std::optional<std::string> ansi = ToAnsi(item)) {
      result.push_back(std::move(*ansi));
    } else {
      ok = false;
    }
  }
  if (ok)
    out = std::move(result);
  return ok;
}

bool TableReader::Integer(const TomlNode& v,
                          std::string_view key,
                          int64_t min,
                          int64_t max,
                          int64_t& out) {
  if (v.type != TomlNode::Type::kInteger) {
    Error(v, std::string(key) + " must be an integer, not " + TypeName(v.type));
    return false;
  }
  if (v.integer < min || v.integer > max) {
    Error(v, std::string(key) + " = " + std::to_string(v.integer) + " is out of range (" +
                 std::to_string(min) + " to " + std::to_string(max) + ")");
    return false;
  }
  out = v.integer;
  return true;
}

bool TableReader::Byte(std::string_view key, uint8_t& out) {
  const TomlNode* v = Get(key);
  if (!v)
    return false;
  if (v->type == TomlNode::Type::kBool) {
    out = v->boolean ? 1 : 0;
    return true;
  }
  int64_t value = 0;
  if (!Integer(*v, key, 0, 255, value))
    return false;
  out = static_cast<uint8_t>(value);
  return true;
}

bool TableReader::U32(std::string_view key, uint32_t& out) {
  const TomlNode* v = Get(key);
  int64_t value = 0;
  if (!v || !Integer(*v, key, 0, UINT32_MAX, value))
    return false;
  out = static_cast<uint32_t>(value);
  return true;
}

bool TableReader::I32(std::string_view key, int32_t& out) {
  const TomlNode* v = Get(key);
  int64_t value = 0;
  if (!v || !Integer(*v, key, INT32_MIN, INT32_MAX, value))
    return false;
  out = static_cast<int32_t>(value);
  return true;
}

bool TableReader::Double(std::string_view key, double& out) {
  const TomlNode* v = Get(key);
  if (!v)
    return false;
  if (v->type == TomlNode::Type::kInteger) {
    out = static_cast<double>(v->integer);
    return true;
  }
  if (v->type != TomlNode::Type::kFloat) {
    Error(*v, std::string(key) + " must be a number, not " + TypeName(v->type));
    return false;
  }
  out = v->number;
  return true;
}

bool TableReader::Bool(std::string_view key, bool& out) {
  const TomlNode* v = Get(key);
  if (!v)
    return false;
  if (v->type != TomlNode::Type::kBool) {
    Error(*v, std::string(key) + " must be true or false, not " + TypeName(v->type));
    return false;
  }
  out = v->boolean;
  return true;
}

bool TableReader::Enum(std::string_view key, NameList names, uint32_t max, uint32_t& out) {
  const TomlNode* v = Get(key);
  if (!v)
    return false;
  if (v->type == TomlNode::Type::kString) {
    if (const std::optional<uint32_t> value = ValueOfName(names, v->text)) {
      out = *value;
      return true;
    }
    Error(*v, "unknown " + std::string(key) + " \"" + v->text + "\"; use " + NameChoices(names) +
                  " or a number");
    return false;
  }
  int64_t value = 0;
  if (v->type != TomlNode::Type::kInteger) {
    Error(*v, std::string(key) + " must be a name or a number, not " + TypeName(v->type));
    return false;
  }
  if (!Integer(*v, key, 0, max, value))
    return false;
  out = static_cast<uint32_t>(value);
  return true;
}

bool TableReader::Enum8(std::string_view key, NameList names, uint8_t& out) {
  uint32_t value = 0;
  if (!Enum(key, names, 255, value))
    return false;
  out = static_cast<uint8_t>(value);
  return true;
}

bool TableReader::Font(std::string_view key, TFontRecord& out) {
  const TomlNode* t = Table(key);
  if (!t)
    return false;
  TableReader r(*t, diag_, where_ + "." + std::string(key));
  TFontRecord font = out;
  r.Text("face", font.FaceName, kFixedTextLength);
  r.U32("size", font.Size);
  r.U32("color", font.Color);
  r.U8Style(font.Style);
  r.Byte("charset", font.Charset);
  r.Finish();
  out = font;
  return true;
}

void TableReader::U8Style(uint8_t& out) {
  const TomlNode* v = table_.Find("style");
  if (!v || v->type != TomlNode::Type::kArray) {
    Byte("style", out);
    return;
  }
  Get("style");
  uint8_t style = 0;
  for (const TomlNode& item : v->items) {
    const std::optional<uint32_t> bit =
        item.type == TomlNode::Type::kString ? ValueOfName(kFontStyles, item.text) : std::nullopt;
    if (!bit) {
      Error(item, "a font style is " + NameChoices(kFontStyles));
      return;
    }
    style |= static_cast<uint8_t>(*bit);
  }
  out = style;
}

bool TableReader::DosDate(std::string_view key, uint32_t& out) {
  const TomlNode* v = Get(key);
  if (!v)
    return false;
  if (v->type == TomlNode::Type::kInteger) {
    int64_t value = 0;
    if (!Integer(*v, key, 0, UINT32_MAX, value))
      return false;
    out = static_cast<uint32_t>(value);
    return true;
  }
  if (v->type != TomlNode::Type::kString && v->type != TomlNode::Type::kDateTime) {
    Error(*v, std::string(key) + " must be a date and time, not " + TypeName(v->type));
    return false;
  }
  const std::optional<DosDateTime> t = ParseDosTimeText(v->text);
  const std::optional<uint32_t> packed = t ? PackDosTime(*t) : std::nullopt;
  if (!packed) {
    Error(*v, std::string(key) +
                  " must be a local date and time from 1980 to 2107 with an even "
                  "second, e.g. 2003-05-01T12:00:00");
    return false;
  }
  out = *packed;
  return true;
}

bool TableReader::Version(std::string_view key, FileVersion& out) {
  const TomlNode* v = Get(key);
  if (!v)
    return false;
  std::vector<std::string> parts;
  if (v->type == TomlNode::Type::kString)
    parts = SplitText(v->text, ".");
  uint32_t n[4] = {0, 0, 0, 0};
  bool ok = v->type == TomlNode::Type::kString && parts.size() == 4;
  for (size_t i = 0; ok && i < 4; ++i) {
    ok = !parts[i].empty() && parts[i].size() <= 5 &&
         parts[i].find_first_not_of("0123456789") == std::string::npos;
    if (ok)
      n[i] = static_cast<uint32_t>(std::stoul(parts[i]));
    ok = ok && n[i] <= 0xFFFF;
  }
  if (!ok) {
    Error(*v, std::string(key) + " must be four numbers from 0 to 65535, e.g. \"1.0.0.0\"");
    return false;
  }
  out = {n[0] << 16 | n[1], n[2] << 16 | n[3]};
  return true;
}

bool TableReader::Size(std::string_view key, uint64_t& out) {
  const TomlNode* v = Get(key);
  if (!v)
    return false;
  std::optional<uint64_t> size;
  if (v->type == TomlNode::Type::kInteger && v->integer > 0)
    size = v->integer;
  if (v->type == TomlNode::Type::kString)
    size = ParseSizeText(v->text);
  if (!size || *size == 0) {
    Error(*v, std::string(key) +
                  " must be a positive number of bytes, or a text like \"1440K\" "
                  "or \"650M\"");
    return false;
  }
  out = *size;
  return true;
}

const TomlNode* TableReader::Table(std::string_view key) {
  const TomlNode* v = Get(key);
  if (!v)
    return nullptr;
  if (v->type != TomlNode::Type::kTable) {
    Error(*v, std::string(key) + " must be a table, not " + TypeName(v->type));
    return nullptr;
  }
  return v;
}

std::vector<const TomlNode*> TableReader::Tables(std::string_view key) {
  const TomlNode* v = Get(key);
  std::vector<const TomlNode*> out;
  if (!v)
    return out;
  if (v->type != TomlNode::Type::kArray) {
    Error(*v, std::string(key) + " must be an array of tables ([[" + std::string(key) +
                  "]]), not " + TypeName(v->type));
    return out;
  }
  for (const TomlNode& item : v->items) {
    if (item.type == TomlNode::Type::kTable) {
      out.push_back(&item);
    } else {
      Error(item,
            "the items of " + std::string(key) + " must be tables, not " + TypeName(item.type));
    }
  }
  return out;
}

void TableReader::Finish() {
  for (const TomlNode::Member& m : table_.members) {
    if (known_.count(m.key))
      continue;
    std::string known;
    for (const std::string& k : known_)
      known += (known.empty() ? "" : ", ") + k;
    diag_.Error(m.key_pos,
                "unknown key \"" + m.key + "\" in " + where_ + " (known keys: " + known + ")");
  }
}

std::optional<uint32_t> ParsePackedVersion(std::string_view text) {
  const std::vector<std::string> parts = SplitText(text, ".");
  if (parts.size() < 2 || parts.size() > 3)
    return std::nullopt;
  uint32_t n[3] = {0, 0, 0};
  const uint32_t limits[3] = {255, 255, 65535};
  for (size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].empty() || parts[i].size() > 5 ||
        parts[i].find_first_not_of("0123456789") != std::string::npos) {
      return std::nullopt;
    }
    n[i] = static_cast<uint32_t>(std::stoul(parts[i]));
    if (n[i] > limits[i])
      return std::nullopt;
  }
  return n[0] << 24 | n[1] << 16 | n[2];
}

std::optional<uint64_t> ParseSizeText(std::string_view text) {
  size_t digits = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9')
    ++digits;
  if (digits == 0 || digits > 15)
    return std::nullopt;
  uint64_t value = std::stoull(std::string(text.substr(0, digits)));
  const std::string unit = UpperText(text.substr(digits));
  if (unit == "K" || unit == "KB" || unit == "KIB")
    return value << 10;
  if (unit == "M" || unit == "MB" || unit == "MIB")
    return value << 20;
  if (unit == "G" || unit == "GB" || unit == "GIB")
    return value << 30;
  if (unit.empty() || unit == "B")
    return value;
  return std::nullopt;
}

}  // namespace kvb::pack
