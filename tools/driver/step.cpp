#include "tools/driver/step.h"

#include <array>
#include <cctype>

#include "base/text.h"

namespace kvb::driver {
namespace {

constexpr int kAny = -1;

struct VerbRule {
  std::string_view verb;
  int min_words;
  int max_words;  // kAny: no upper bound
  std::string_view options;
};

constexpr std::string_view kSelectorOptions = " id class text after index timeout ";

constexpr std::array<VerbRule, 14> kVerbs{{
    {"start", 1, kAny, ""},
    {"wait-window", 0, 0, " title title~ class process hidden timeout "},
    {"wait-gone", 0, 0, " timeout "},
    {"dump", 0, 0, ""},
    {"expect-text", 1, 1, " id class text after index timeout match "},
    {"expect-icon", 1, 1, " timeout "},
    {"click", 0, 1, kSelectorOptions},
    {"type", 1, 1, kSelectorOptions},
    {"check", 1, 1, kSelectorOptions},
    {"select", 1, 1, kSelectorOptions},
    {"wait-exit", 0, 0, " code timeout "},
    {"kill", 0, 0, ""},
    {"screenshot", 1, 1, ""},
    {"echo", 0, kAny, ""},
}};

[[noreturn]] void Fail(int line, const std::string& what) {
  throw StepError("line " + std::to_string(line) + ": " + what);
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

bool IsOptionNameChar(char c) {
  return std::islower(static_cast<unsigned char>(c)) || c == '~';
}

struct Word {
  std::string text;
  std::optional<std::string> option_name;
};

// Reads one word starting at `pos` (not a blank); advances `pos` behind it.
Word ReadWord(std::string_view line, size_t& pos, int line_number) {
  Word word;
  bool quoted_any = false;
  while (pos < line.size() && !IsBlank(line[pos])) {
    const char c = line[pos++];
    if (c == '=' && !quoted_any && !word.option_name && !word.text.empty()) {
      word.option_name = word.text;
      word.text.clear();
      continue;
    }
    if (c != '"') {
      if (!IsOptionNameChar(c))
        quoted_any = true;  // no longer an option name
      word.text += c;
      continue;
    }
    quoted_any = true;
    for (;;) {
      if (pos >= line.size())
        Fail(line_number, "unbalanced quotes");
      char q = line[pos++];
      if (q == '"')
        break;
      if (q == '\\' && pos < line.size() && (line[pos] == '"' || line[pos] == '\\'))
        q = line[pos++];
      word.text += q;
    }
  }
  return word;
}

void CheckStep(const Step& step) {
  for (const VerbRule& rule : kVerbs) {
    if (rule.verb != step.verb)
      continue;
    const int count = static_cast<int>(step.words.size());
    if (count < rule.min_words || (rule.max_words != kAny && count > rule.max_words))
      Fail(step.line, step.verb + ": wrong number of words");
    for (const auto& [name, value] : step.options) {
      if (rule.options.find(" " + name + " ") == std::string_view::npos)
        Fail(step.line, step.verb + ": unknown option " + name);
    }
    return;
  }
  Fail(step.line, "unknown step " + QuoteText(step.verb));
}

}  // namespace

const std::string* Step::Option(std::string_view name) const {
  for (const auto& [key, value] : options) {
    if (key == name)
      return &value;
  }
  return nullptr;
}

std::optional<Step> ParseStep(std::string_view line, int line_number) {
  Step step;
  step.line = line_number;
  size_t pos = 0;
  for (;;) {
    while (pos < line.size() && IsBlank(line[pos]))
      ++pos;
    if (pos >= line.size())
      break;
    if (step.verb.empty() && line[pos] == '#')
      return std::nullopt;
    Word word = ReadWord(line, pos, line_number);
    if (step.verb.empty()) {
      if (word.option_name || word.text.empty())
        Fail(line_number, "a step starts with its verb");
      step.verb = std::move(word.text);
    } else if (word.option_name) {
      step.options.emplace_back(std::move(*word.option_name), std::move(word.text));
    } else {
      step.words.push_back(std::move(word.text));
    }
  }
  if (step.verb.empty())
    return std::nullopt;
  CheckStep(step);
  return step;
}

std::vector<Step> ParseScript(std::string_view text) {
  std::vector<Step> steps;
  int line_number = 0;
  for (const std::string& line : SplitText(text, "\n")) {
    if (auto step = ParseStep(line, ++line_number))
      steps.push_back(std::move(*step));
  }
  return steps;
}

int64_t ParseNumber(std::string_view text, const Step& step) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty() || text.size() > 12)
    Fail(step.line, "bad number " + QuoteText(text));
  int64_t value = 0;
  for (char c : text) {
    const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                      : base == 16 && std::isxdigit(static_cast<unsigned char>(c))
                          ? std::tolower(static_cast<unsigned char>(c)) - 'a' + 10
                          : -1;
    if (digit < 0)
      Fail(step.line, "bad number " + QuoteText(text));
    value = value * base + digit;
  }
  return value;
}

ControlSelector SelectorOf(const Step& step, const std::string* caption) {
  ControlSelector selector;
  if (const std::string* id = step.Option("id"))
    selector.id = ParseNumber(*id, step);
  if (const std::string* cls = step.Option("class"))
    selector.class_name = *cls;
  if (const std::string* text = step.Option("text"))
    selector.text = *text;
  if (caption)
    selector.text = *caption;
  if (const std::string* after = step.Option("after"))
    selector.after = *after;
  if (const std::string* index = step.Option("index")) {
    const int64_t n = ParseNumber(*index, step);
    if (n < 1 || n > 100000)
      Fail(step.line, "index counts from 1");
    selector.index = static_cast<int>(n);
  }
  return selector;
}

std::string StripMnemonic(std::string_view caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&')
        out += caption[++i];
      continue;
    }
    out += caption[i];
  }
  return out;
}

bool CaptionMatches(std::string_view actual, std::string_view wanted) {
  return actual == wanted || StripMnemonic(actual) == wanted;
}

std::string QuoteText(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
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
        out += c;
    }
  }
  return out + "\"";
}

}  // namespace kvb::driver
