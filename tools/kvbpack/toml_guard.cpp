#include "toml_guard.h"

#include "diagnostics.h"

namespace kvb::pack {
namespace {

class Guard {
 public:
  Guard(std::string_view text, const std::string& file) : s_(text), file_(file) {}

  void Run() {
    while (pos_ < s_.size()) {
      if (StartsWith("\"\"\"")) {
        Skip(3);
        MultiLine('"');
      } else if (StartsWith("'''")) {
        Skip(3);
        MultiLine('\'');
      } else if (s_[pos_] == '"' || s_[pos_] == '\'') {
        SingleLine(s_[pos_]);
      } else if (s_[pos_] == '#') {
        while (pos_ < s_.size() && s_[pos_] != '\n')
          Skip(1);
      } else if (static_cast<uint8_t>(s_[pos_]) >= 0x80) {
        Fail("this character may stand only inside quotes or in a comment");
      } else {
        Skip(1);
      }
    }
  }

 private:
  bool StartsWith(std::string_view what) const { return s_.substr(pos_, what.size()) == what; }

  // Moves over `count` characters (not bytes), counting lines and columns.
  void Skip(size_t count) {
    for (size_t i = 0; i < count && pos_ < s_.size(); ++i) {
      if (s_[pos_] == '\n') {
        ++line_;
        column_ = 1;
      } else {
        ++column_;
      }
      ++pos_;
      while (pos_ < s_.size() && (static_cast<uint8_t>(s_[pos_]) & 0xC0) == 0x80)
        ++pos_;
    }
  }

  [[noreturn]] void Fail(const std::string& message) const {
    throw ProjectError(SourcePos{file_, line_, column_}, message);
  }

  void SingleLine(char quote) {
    Skip(1);
    while (pos_ < s_.size() && s_[pos_] != '\n') {
      if (s_[pos_] == quote) {
        Skip(1);
        return;
      }
      Skip(quote == '"' && s_[pos_] == '\\' ? 2 : 1);
    }
  }

  void MultiLine(char quote) {
    const std::string end(3, quote);
    while (pos_ < s_.size()) {
      if (StartsWith(end)) {
        // Up to two quotes right before the closing three belong to the text.
        size_t run = 0;
        while (pos_ + run < s_.size() && s_[pos_ + run] == quote && run < 5)
          ++run;
        Skip(run);
        return;
      }
      if (quote == '"' && s_[pos_] == '\\') {
        Skip(1);
        if (LineEndingBackslash())
          continue;
      }
      Skip(1);
    }
  }

  // After a backslash in a multi-line basic string: when only blanks follow on its line,
  // the line break and the blanks after it are trimmed; the character that ends the
  // trimming must be ASCII.
  bool LineEndingBackslash() {
    size_t p = pos_;
    while (p < s_.size() && (s_[p] == ' ' || s_[p] == '\t' || s_[p] == '\r'))
      ++p;
    if (p >= s_.size() || s_[p] != '\n')
      return false;
    while (pos_ < s_.size() &&
           (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\r' || s_[pos_] == '\n')) {
      Skip(1);
    }
    if (pos_ < s_.size() && static_cast<uint8_t>(s_[pos_]) >= 0x80) {
      Fail(
          "a line-ending backslash must not be followed by a line that starts with a non-ASCII "
          "character");
    }
    return true;
  }

  std::string_view s_;
  const std::string& file_;
  size_t pos_ = 0;
  int line_ = 1;
  int column_ = 1;
};

}  // namespace

void CheckTomlText(std::string_view text, const std::string& file) {
  // Valid UTF-8 (every code point, not only the Windows-1252 ones): decode and re-check.
  for (size_t pos = 0; pos < text.size();) {
    const uint8_t lead = static_cast<uint8_t>(text[pos]);
    const size_t len = lead < 0x80         ? 1
                       : (lead >> 5) == 6  ? 2
                       : (lead >> 4) == 14 ? 3
                       : (lead >> 3) == 30 ? 4
                                           : 0;
    bool ok = len > 0 && pos + len <= text.size();
    uint32_t cp = len == 1 ? lead : len == 2 ? lead & 0x1F : len == 3 ? lead & 0x0F : lead & 0x07;
    for (size_t i = 1; ok && i < len; ++i) {
      ok = (static_cast<uint8_t>(text[pos + i]) & 0xC0) == 0x80;
      cp = (cp << 6) | (static_cast<uint8_t>(text[pos + i]) & 0x3F);
    }
    static constexpr uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    ok = ok && cp >= kMin[len] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
    if (!ok) {
      int line = 1, column = 1;
      for (size_t i = 0; i < pos; ++i) {
        if (text[i] == '\n') {
          ++line;
          column = 1;
        } else if ((static_cast<uint8_t>(text[i]) & 0xC0) != 0x80) {
          ++column;
        }
      }
      throw ProjectError(SourcePos{file, line, column},
                         "the project file is not valid UTF-8 text here");
    }
    pos += len;
  }
  Guard(text, file).Run();
}

}  // namespace kvb::pack
