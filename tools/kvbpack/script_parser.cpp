#include <functional>
#include <optional>
#include <vector>

#include "base/text.h"
#include "codepage.h"
#include "script_blocks.h"
#include "script_syntax.h"
#include "setupdata/command_table.h"

namespace kvb::pack {
namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t';
}
bool IsWordStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

struct Arg {
  std::string text;  // package code page
  int column = 0;
};

struct ParsedLine {
  TScriptStatement st;
  bool named = false;  // written with a command name (checked), not as CODE n
  bool id_omitted = false;
  int line = 0;  // index of the text line
  int column = 0;
};

// Reads one statement line; reports mistakes through `error`.
class LineParser {
 public:
  LineParser(std::string_view line, std::function<void(int, const std::string&)> error)
      : s_(line), error_(std::move(error)) {}

  // False when the line is blank or a comment.
  bool Parse(ParsedLine& out, std::vector<Arg>& args, std::optional<Arg>& guard) {
    SkipSpace();
    if (AtEnd() || s_[pos_] == '#')
      return false;
    out.column = Column();
    if (!ParseCommand(out))
      return true;
    SkipSpace();
    if (!AtEnd() && !PeekWord("when")) {
      for (;;) {
        Arg a;
        if (!ParseArg(a))
          return true;
        args.push_back(std::move(a));
        SkipSpace();
        if (AtEnd() || s_[pos_] != ',')
          break;
        ++pos_;
        SkipSpace();
      }
    }
    SkipSpace();
    if (PeekWord("when")) {
      pos_ += 4;
      SkipSpace();
      Arg g;
      if (!ParseArg(g))
        return true;
      guard = std::move(g);
      SkipSpace();
    }
    if (!AtEnd())
      Fail("unexpected text \"" + std::string(s_.substr(pos_, 20)) + "\"");
    return true;
  }

  bool failed() const { return failed_; }

 private:
  bool AtEnd() const { return pos_ >= s_.size(); }
  void SkipSpace() {
    while (!AtEnd() && IsSpace(s_[pos_]))
      ++pos_;
  }
  int Column() const {
    int col = 1;
    for (size_t i = 0; i < pos_; ++i)
      col += (static_cast<uint8_t>(s_[i]) & 0xC0) != 0x80;
    return col;
  }
  void Fail(const std::string& message) {
    if (!failed_)
      error_(Column(), message);
    failed_ = true;
  }
  std::string_view Word() {
    const size_t start = pos_;
    while (!AtEnd() && (IsWordStart(s_[pos_]) || IsDigit(s_[pos_])))
      ++pos_;
    return s_.substr(start, pos_ - start);
  }
  bool PeekWord(std::string_view word) const {
    if (s_.size() - pos_ < word.size() || !SameText(s_.substr(pos_, word.size()), word))
      return false;
    const size_t end = pos_ + word.size();
    return end == s_.size() || !(IsWordStart(s_[end]) || IsDigit(s_[end]));
  }

  bool ParseCommand(ParsedLine& out) {
    if (!IsWordStart(s_[pos_])) {
      Fail("a statement starts with a command name");
      return false;
    }
    const std::string_view name = Word();
    if (SameText(name, "CODE")) {
      SkipSpace();
      const std::optional<uint32_t> code = ParseNumber();
      if (!code) {
        Fail("CODE needs a number from 0 to 4294967295");
        return false;
      }
      out.st.Code = *code;
      return true;
    }
    const std::optional<uint8_t> code = FindCommandByName(name);
    if (!code) {
      pos_ -= name.size();
      Fail("unknown command \"" + std::string(name) + "\"");
      return false;
    }
    out.st.Code = *code;
    out.named = true;
    return true;
  }

  std::optional<uint32_t> ParseNumber() {
    const size_t start = pos_;
    int base = 10;
    if (s_.substr(pos_, 2) == "0x" || s_.substr(pos_, 2) == "0X") {
      base = 16;
      pos_ += 2;
    }
    uint64_t value = 0;
    size_t digits = 0;
    for (; !AtEnd(); ++pos_, ++digits) {
      const char c = s_[pos_];
      int d = IsDigit(c)                           ? c - '0'
              : base == 16 && c >= 'a' && c <= 'f' ? c - 'a' + 10
              : base == 16 && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                   : -1;
      if (d < 0)
        break;
      value = value * base + d;
      if (value > 0xFFFFFFFFu)
        break;
    }
    if (digits == 0 || value > 0xFFFFFFFFu || (!AtEnd() && IsWordStart(s_[pos_]))) {
      pos_ = start;
      return std::nullopt;
    }
    return static_cast<uint32_t>(value);
  }

  // One argument: quoted pieces and #n character codes, joined.
  bool ParseArg(Arg& arg) {
    arg.column = Column();
    bool any = false;
    for (;;) {
      SkipSpace();
      if (AtEnd())
        break;
      if (s_[pos_] == '"') {
        if (!ParseQuoted(arg.text))
          return false;
      } else if (s_[pos_] == '#') {
        ++pos_;
        const size_t start = pos_;
        while (!AtEnd() && IsDigit(s_[pos_]))
          ++pos_;
        const std::string digits(s_.substr(start, pos_ - start));
        if (digits.empty() || digits.size() > 3 || std::stoi(digits) > 255) {
          Fail("a character code is # followed by a number from 0 to 255");
          return false;
        }
        arg.text += static_cast<char>(std::stoi(digits));
      } else {
        break;
      }
      any = true;
    }
    if (!any)
      Fail("expected a quoted text");
    return any;
  }

  bool ParseQuoted(std::string& out) {
    const size_t open = pos_++;
    std::string utf8;
    for (;;) {
      if (AtEnd()) {
        pos_ = open;
        Fail("the quoted text has no closing quote (write \"\" for a quote inside it)");
        return false;
      }
      if (s_[pos_] == '"') {
        if (pos_ + 1 < s_.size() && s_[pos_ + 1] == '"') {
          utf8 += '"';
          pos_ += 2;
          continue;
        }
        ++pos_;
        break;
      }
      utf8 += s_[pos_++];
    }
    size_t bad = 0;
    const std::optional<std::string> ansi = Utf8ToAnsi(utf8, &bad);
    if (!ansi) {
      pos_ = open + 1 + bad;
      Fail("this character has no Windows-1252 code; write it as #n if it is a byte");
      return false;
    }
    out += *ansi;
    return true;
  }

  std::string_view s_;
  size_t pos_ = 0;
  bool failed_ = false;
  std::function<void(int, const std::string&)> error_;
};

class ScriptParser {
 public:
  ScriptParser(const ScriptOrigin& origin, Diagnostics& diag) : origin_(origin), diag_(diag) {}

  TScript Parse(std::string_view text) {
    int line_no = 0;
    for (size_t start = 0; start <= text.size(); ++line_no) {
      size_t end = text.find('\n', start);
      if (end == std::string_view::npos)
        end = text.size();
      std::string_view line = text.substr(start, end - start);
      if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
      ParseLine(line, line_no);
      start = end + 1;
    }
    CheckStructure();
    TScript script;
    for (ParsedLine& p : lines_)
      script.Statements.push_back(std::move(p.st));
    script.Count = static_cast<int32_t>(script.Statements.size());
    return script;
  }

 private:
  SourcePos Pos(int line, int column) const {
    if (!origin_.exact)
      return {origin_.file, origin_.line, origin_.column};
    return {origin_.file, origin_.line + line, line == 0 ? origin_.column + column - 1 : column};
  }

  void ParseLine(std::string_view line, int line_no) {
    ParsedLine out;
    out.line = line_no;
    std::vector<Arg> args;
    std::optional<Arg> guard;
    LineParser parser(line,
                      [&](int col, const std::string& m) { diag_.Error(Pos(line_no, col), m); });
    if (!parser.Parse(out, args, guard) || parser.failed())
      return;
    if (!FillArguments(out, args))
      return;
    if (guard) {
      CheckLength(guard->text, "the guard", line_no, guard->column);
      out.st.Guard = std::move(guard->text);
    }
    TrackBlocks(out);
    lines_.push_back(std::move(out));
  }

  bool FillArguments(ParsedLine& out, std::vector<Arg>& args) {
    const int count = StoredArgumentCount(out.st.Code);
    const std::optional<BlockRole> role = out.named ? BlockRoleOf(out.st.Code) : std::nullopt;
    const std::string name = out.named ? std::string(GetCommandInfo(out.st.Code).name)
                                       : "CODE " + std::to_string(out.st.Code);
    const int given = static_cast<int>(args.size());
    if (given > count) {
      diag_.Error(Pos(out.line, args[count].column),
                  name + " takes " +
                      (count == 0 ? std::string("no arguments")
                                  : "at most " + std::to_string(count) +
                                        (count == 1 ? " argument" : " arguments")) +
                      ", " + std::to_string(given) + " given");
      return false;
    }
    if (role && role->kind == BlockRole::kOpener && given < count - 1) {
      diag_.Error(Pos(out.line, out.column), name + " needs " + std::to_string(count - 1) +
                                                 " arguments before its block "
                                                 "identifier, " +
                                                 std::to_string(given) + " given");
      return false;
    }
    out.id_omitted = role && given == role->id_arg;
    for (int i = 0; i < given; ++i) {
      CheckLength(args[i].text, "argument " + std::to_string(i + 1), out.line, args[i].column);
      out.st.Args[i] = std::move(args[i].text);
    }
    return true;
  }

  // Fills left-out block identifiers: openers get a generated one, markers that of the
  // innermost open block of their kind.
  void TrackBlocks(ParsedLine& out) {
    if (!out.named)
      return;
    const std::optional<BlockRole> role = BlockRoleOf(out.st.Code);
    if (!role)
      return;
    std::string& id = out.st.Args[role->id_arg];
    if (role->kind == BlockRole::kOpener) {
      if (out.id_omitted)
        id = GeneratedBlockId(role->opener, lines_.size());
      open_.push_back({role->opener, id});
      return;
    }
    const bool matches = !open_.empty() && open_.back().first == role->opener;
    if (out.id_omitted && matches)
      id = open_.back().second;
    if (role->kind == BlockRole::kEnd && matches)
      open_.pop_back();
  }

  void CheckLength(const std::string& text, const std::string& what, int line, int column) {
    if (text.size() > kFixedTextLength) {
      diag_.Error(Pos(line, column), what + " is " + std::to_string(text.size()) +
                                         " characters long; the field holds " +
                                         std::to_string(kFixedTextLength));
    }
  }

  void CheckStructure() {
    std::vector<TScriptStatement> named;
    std::vector<size_t> where;
    for (size_t i = 0; i < lines_.size(); ++i) {
      if (!lines_[i].named)
        continue;
      named.push_back(lines_[i].st);
      where.push_back(i);
    }
    if (const std::optional<BlockProblem> p = CheckBlocks(named)) {
      const ParsedLine& at = lines_[where[p->statement]];
      diag_.Error(Pos(at.line, at.column), p->message);
    }
  }

  ScriptOrigin origin_;
  Diagnostics& diag_;
  std::vector<ParsedLine> lines_;
  std::vector<std::pair<uint8_t, std::string>> open_;
};

}  // namespace

TScript ParseScript(std::string_view text, const ScriptOrigin& origin, Diagnostics& diag) {
  return ScriptParser(origin, diag).Parse(text);
}

}  // namespace kvb::pack
