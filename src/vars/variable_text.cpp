// Name helpers and the replacement that the expansion is built on.
#include <algorithm>
#include <array>

#include "base/text.h"
#include "vars/variables.h"

namespace kvb {

namespace {

// Case-insensitive search (Horspool): values can be megabytes long, and one expansion
// searches its text once for every name the text mentions.
class FoldedSearcher {
 public:
  explicit FoldedSearcher(std::string_view needle) : needle_(needle) {
    shift_.fill(needle.size());
    for (size_t i = 0; i + 1 < needle.size(); ++i)
      shift_[Fold(needle[i])] = needle.size() - 1 - i;
  }

  // First occurrence at or behind `from`, or npos. The needle must not be empty.
  size_t Find(std::string_view text, size_t from) const {
    const size_t n = needle_.size();
    const unsigned char last = Fold(needle_.back());
    while (from <= text.size() && text.size() - from >= n) {
      const unsigned char c = Fold(text[from + n - 1]);
      if (c == last && MatchesBefore(text, from, n - 1))
        return from;
      from += shift_[c];
    }
    return std::string_view::npos;
  }

 private:
  static unsigned char Fold(char c) {
    return static_cast<unsigned char>((c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c);
  }

  // Whether the first `count` characters of the needle match the text at `from`; checked
  // from the back, where names differ sooner than at their '%'.
  bool MatchesBefore(std::string_view text, size_t from, size_t count) const {
    for (size_t k = count; k-- > 0;) {
      if (Fold(text[from + k]) != Fold(needle_[k]))
        return false;
    }
    return true;
  }

  std::string_view needle_;
  std::array<size_t, 256> shift_;
};

// Replaces every occurrence of one text, searching again around each inserted value so
// that an occurrence the value forms with the text before or behind it is replaced too.
// Characters that come from inserted values are marked, and an occurrence must take in at
// least one character of the original text, which the replacement then uses up: so the
// replacement ends even for a value that contains the text it replaces.
class TextReplacer {
 public:
  TextReplacer(std::string_view text,
               std::string_view old_text,
               std::string_view new_text,
               size_t max_length)
      : text_(text), old_(old_text), new_(new_text), max_length_(max_length), searcher_(old_text) {}

  std::string Run() {
    while (!stopped_) {
      if (ReplaceInOutput())
        continue;
      const size_t found = searcher_.Find(text_, pos_);
      if (found == std::string_view::npos)
        break;
      if (!Fits()) {
        stopped_ = true;
        break;
      }
      Append(text_.substr(pos_, found - pos_), false);
      pos_ = found + old_.size();
      Insert(out_.size());
    }
    Append(text_.substr(pos_), false);
    return std::move(out_);
  }

  bool stopped() const { return stopped_; }

 private:
  // False when one more replacement would make the result longer than the limit.
  bool Fits() const {
    if (new_.size() <= old_.size())
      return true;
    const size_t length = out_.size() + (text_.size() - pos_);
    return length + (new_.size() - old_.size()) <= max_length_;
  }

  void Append(std::string_view piece, bool inserted) {
    out_.append(piece);
    marks_.resize(out_.size(), inserted);
  }

  // Puts the new text at `at`, the end of the output. An occurrence formed with it may
  // start up to one character less than the old text's length before it.
  void Insert(size_t at) {
    Append(new_, true);
    last_insert_ = at;
    check_ = at >= old_.size() - 1 ? at - (old_.size() - 1) : 0;
  }

  // Whether the old text starts at `start` of the output, running on into the unread
  // text, and takes in at least one original character.
  bool Qualifies(size_t start) const {
    const size_t from_out = std::min(old_.size(), out_.size() - start);
    const std::string_view out(out_);
    if (!SameText(out.substr(start, from_out), old_.substr(0, from_out)))
      return false;
    const size_t from_rest = old_.size() - from_out;
    if (from_rest == 0) {
      const auto first = marks_.begin() + static_cast<std::ptrdiff_t>(start);
      return std::find(first, first + static_cast<std::ptrdiff_t>(from_out), false) !=
             first + static_cast<std::ptrdiff_t>(from_out);
    }
    const std::string_view rest = text_.substr(pos_);
    return from_rest <= rest.size() && SameText(rest.substr(0, from_rest), old_.substr(from_out));
  }

  // Replaces the first qualifying occurrence that starts in the output at or behind
  // check_. Everything from last_insert_ on is inserted text, so only the starts before
  // it and those near the end (running on into the unread text) are tried.
  bool ReplaceInOutput() {
    const size_t end = out_.size();
    const size_t near_end = std::max(last_insert_, end >= old_.size() ? end - old_.size() + 1 : 0);
    for (size_t start = check_; start < end; ++start) {
      if (start >= last_insert_ && start < near_end)
        start = near_end;
      if (start >= end || !Qualifies(start))
        continue;
      if (!Fits()) {
        stopped_ = true;
        return false;
      }
      const size_t from_out = std::min(old_.size(), end - start);
      const std::string tail = out_.substr(start + from_out);
      out_.resize(start);
      marks_.resize(start);
      pos_ += old_.size() - from_out;
      Insert(start);
      Append(tail, true);  // the rest of an inserted value
      return true;
    }
    check_ = end;
    return false;
  }

  std::string_view text_;
  std::string_view old_;
  std::string_view new_;
  size_t max_length_;
  FoldedSearcher searcher_;
  std::string out_;
  std::vector<bool> marks_;  // per output character: comes from an inserted value
  size_t pos_ = 0;           // next unread character of text_
  size_t check_ = 0;         // output characters before it start no occurrence
  size_t last_insert_ = 0;   // output characters from here on are all inserted
  bool stopped_ = false;
};

constexpr std::array<std::string_view, 27> kReadOnlyNames = {
    "%ISADMIN%",
    "%ISNT%",
    "%OSVERSION%",
    "%OSMAJORVERSION%",
    "%OSMINORVERSION%",
    "%SETUPCOMPONENTS%",
    "%COLORDEPTH%",
    "%CURRENTDAY%",
    "%CURRENTHOUR%",
    "%CURRENTMINUTE%",
    "%CURRENTMONTH%",
    "%CURRENTSECOND%",
    "%CURRENTYEAR%",
    "%DATE%",
    "%EUROPEANDATE%",
    "%ISODATE%",
    "%SCREENHEIGHT%",
    "%SCREENWIDTH%",
    "%RAMMEMORY%",
    "%SETUPHANDLE%",
    "%CMDLINEPARAM%",
    "%ACTIVEDIALOGHANDLE%",
    "%ISACTIVESYNCINSTALLED%",
    "%ISHOTSYNCINSTALLED%",
    "%ISDOTNETINSTALLED%",
    "%DOTNETVERSION%",
    "%ACTIVESYNCVERSION%",
};

}  // namespace

std::string MakeVariableName(std::string_view name) {
  if (name.empty())
    return {};
  std::string out;
  if (name.front() != '%')
    out += '%';
  out += name;
  if (name.back() != '%')
    out += '%';
  return out;
}

std::string ReplaceAllText(std::string_view text,
                           std::string_view old_text,
                           std::string_view new_text,
                           size_t max_length,
                           bool* limit_reached) {
  if (old_text.empty())
    return std::string(text);
  TextReplacer replacer(text, old_text, new_text, max_length);
  std::string result = replacer.Run();
  if (limit_reached)
    *limit_reached = replacer.stopped();
  return result;
}

bool IsReadOnlyVariable(std::string_view name) {
  return std::any_of(kReadOnlyNames.begin(), kReadOnlyNames.end(),
                     [&](std::string_view n) { return SameText(n, name); });
}

}  // namespace kvb
