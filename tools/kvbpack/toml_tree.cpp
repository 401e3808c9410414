#include "toml_tree.h"

#include "toml_guard.h"

#include <cstdio>

#include <toml++/toml.h>

namespace kvb::pack {
namespace {

// Byte offsets of the line starts, to find the raw text of a value.
class SourceText {
 public:
  explicit SourceText(std::string_view text) : text_(text) {
    starts_.push_back(0);
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n')
        starts_.push_back(i + 1);
    }
  }

  // Offset of a 1-based line and codepoint column, or npos.
  size_t Offset(uint32_t line, uint32_t column) const {
    if (line == 0 || line > starts_.size() || column == 0)
      return std::string_view::npos;
    size_t pos = starts_[line - 1];
    for (uint32_t c = 1; c < column && pos < text_.size(); ++c) {
      ++pos;
      while (pos < text_.size() && (static_cast<uint8_t>(text_[pos]) & 0xC0) == 0x80)
        ++pos;
    }
    return pos;
  }
  std::string_view text() const { return text_; }

 private:
  std::string_view text_;
  std::vector<size_t> starts_;
};

class Converter {
 public:
  Converter(std::string_view content, std::string file)
      : source_(content), file_(std::move(file)) {}

  TomlNode Convert(const toml::node& node) {
    TomlNode out;
    out.pos = Pos(node.source().begin);
    if (const auto* t = node.as_table()) {
      out.type = TomlNode::Type::kTable;
      for (const auto& [key, value] : *t) {
        out.members.push_back({std::string(key.str()), Pos(key.source().begin), Convert(value)});
      }
    } else if (const auto* a = node.as_array()) {
      out.type = TomlNode::Type::kArray;
      for (const auto& item : *a)
        out.items.push_back(Convert(item));
    } else if (const auto* s = node.as_string()) {
      out.type = TomlNode::Type::kString;
      out.text = s->get();
      LocateText(node.source(), out);
    } else if (const auto* i = node.as_integer()) {
      out.type = TomlNode::Type::kInteger;
      out.integer = i->get();
    } else if (const auto* f = node.as_floating_point()) {
      out.type = TomlNode::Type::kFloat;
      out.number = f->get();
    } else if (const auto* b = node.as_boolean()) {
      out.type = TomlNode::Type::kBool;
      out.boolean = b->get();
    } else {
      ConvertDateTime(node, out);
    }
    return out;
  }

 private:
  SourcePos Pos(const toml::source_position& p) const {
    return {file_, static_cast<int>(p.line), static_cast<int>(p.column)};
  }

  // Finds where the characters of a string start, and whether they are verbatim.
  void LocateText(const toml::source_region& region, TomlNode& out) {
    out.text_pos = out.pos;
    const size_t begin = source_.Offset(region.begin.line, region.begin.column);
    const size_t end = source_.Offset(region.end.line, region.end.column);
    const std::string_view text = source_.text();
    if (begin == std::string_view::npos || begin >= text.size())
      return;
    const bool literal = text[begin] == '\'';
    const bool triple = text.substr(begin, 3) == (literal ? "'''" : "\"\"\"");
    size_t content = begin + (triple ? 3 : 1);
    out.text_pos.column += triple ? 3 : 1;
    if (triple && content < text.size() &&
        (text[content] == '\n' || text.substr(content, 2) == "\r\n")) {
      // A newline right behind the opening delimiter is not part of the text.
      out.text_pos.line += 1;
      out.text_pos.column = 1;
    }
    const std::string_view raw = end == std::string_view::npos || end < content
                                     ? text.substr(content)
                                     : text.substr(content, end - content);
    out.text_verbatim = literal || raw.find('\\') == std::string_view::npos;
  }

  void ConvertDateTime(const toml::node& node, TomlNode& out) {
    out.type = TomlNode::Type::kDateTime;
    char buf[40] = "";
    if (const auto* dt = node.as_date_time()) {
      const auto& v = dt->get();
      std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d%s", v.date.year, v.date.month,
                    v.date.day, v.time.hour, v.time.minute, v.time.second,
                    v.offset ? " offset" : "");
    } else if (const auto* d = node.as_date()) {
      const auto& v = d->get();
      std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", v.year, v.month, v.day);
    } else if (const auto* t = node.as_time()) {
      const auto& v = t->get();
      std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", v.hour, v.minute, v.second);
    }
    out.text = buf;
  }

  SourceText source_;
  std::string file_;
};

}  // namespace

const TomlNode* TomlNode::Find(std::string_view key) const {
  for (const Member& m : members) {
    if (m.key == key)
      return &m.value;
  }
  return nullptr;
}

const char* TypeName(TomlNode::Type type) {
  switch (type) {
    case TomlNode::Type::kString:
      return "a string";
    case TomlNode::Type::kInteger:
      return "an integer";
    case TomlNode::Type::kFloat:
      return "a floating-point number";
    case TomlNode::Type::kBool:
      return "a boolean";
    case TomlNode::Type::kDateTime:
      return "a date or time";
    case TomlNode::Type::kTable:
      return "a table";
    case TomlNode::Type::kArray:
      return "an array";
  }
  return "a value";
}

TomlNode ParseToml(std::string_view content, const std::string& file) {
  CheckTomlText(content, file);
  try {
    const toml::table table = toml::parse(content, file);
    Converter converter(content, file);
    TomlNode root = converter.Convert(table);
    root.pos = {file, 1, 1};
    return root;
  } catch (const toml::parse_error& e) {
    const auto& begin = e.source().begin;
    throw ProjectError(
        SourcePos{file, static_cast<int>(begin.line), static_cast<int>(begin.column)},
        std::string(e.description()));
  }
}

}  // namespace kvb::pack
