// The driver's command language: one step per line (or per command-line argument),
// a verb followed by words and name=value options. See tools/driver/README.md.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kvb::driver {

// A script that cannot be run as written: unknown verb, missing word, bad option.
class StepError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Step {
  int line = 0;  // 1-based line of the script, or the argument number
  std::string verb;
  std::vector<std::string> words;                            // positional words
  std::vector<std::pair<std::string, std::string>> options;  // name=value, in order

  // The value of option `name`, or nullptr when absent.
  const std::string* Option(std::string_view name) const;
};

// Splits a line into a step and checks it against the verb table. Words are separated
// by blanks; double quotes group blanks into a word (\" and \\ escape inside quotes).
// A word whose unquoted start is `name=` is an option. Returns nullopt for a blank line
// or a comment (first non-blank character '#'). Throws StepError.
std::optional<Step> ParseStep(std::string_view line, int line_number);

// Every step of a script text, one per line. Throws StepError naming the line.
std::vector<Step> ParseScript(std::string_view text);

// A number option or word: decimal, or hexadecimal with 0x. Throws StepError.
int64_t ParseNumber(std::string_view text, const Step& step);

// Which child control a step acts on. Conditions left empty are not tested.
struct ControlSelector {
  std::optional<int64_t> id;
  std::string class_name;  // "*" or empty: the verb's default classes apply
  std::optional<std::string> text;
  std::optional<std::string> after;  // the control following the one with this text
  int index = 1;                     // the n-th control that matches, from 1
};

// Builds the selector from the options id, class, text, after and index. `caption`,
// when given, is the positional text (for example the caption of `click OK`).
ControlSelector SelectorOf(const Step& step, const std::string* caption);

// Whether a window text matches a wanted caption: equal, or equal once the mnemonic
// ampersands are taken out ("&Next >" matches "Next >"; "&&" stands for "&").
bool CaptionMatches(std::string_view actual, std::string_view wanted);
std::string StripMnemonic(std::string_view caption);

// Quotes a text for output: "..." with \", \\, \n, \r and \t escaped.
std::string QuoteText(std::string_view text);

}  // namespace kvb::driver
