// The text replacement of the variable expansion written as plainly as possible: replace
// the first occurrence (letters a-z compared without regard to case), then search again
// from the beginning. The reference that ReplaceAllText is checked against.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kvb::test {

inline std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

// nullopt when occurrences are left after `max_rounds` replacements.
inline std::optional<std::string> LiteralReplace(std::string_view text,
                                                 std::string_view old_text,
                                                 std::string_view new_text,
                                                 size_t max_rounds) {
  std::string r(text);
  if (old_text.empty())
    return r;
  const std::string upper_old = UpperAscii(old_text);
  for (size_t round = 0;; ++round) {
    const size_t at = UpperAscii(r).find(upper_old);
    if (at == std::string::npos)
      return r;
    if (round == max_rounds)
      return std::nullopt;
    r = r.substr(0, at) + std::string(new_text) + r.substr(at + old_text.size());
  }
}

}  // namespace kvb::test
