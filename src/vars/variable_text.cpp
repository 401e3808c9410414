// Name helpers and the replacement that the expansion is built on.
#include <algorithm>
#include <array>
#include <vector>

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

// Replaces the first occurrence again and again, each search starting at the beginning
// of the text as it is now, until none is left. The text is read once from left to
// right into the output; a replaced occurrence leaves the output and its value goes in
// front of the unread text, to be read (and searched) in turn. An occurrence is found
// when the output ends with it, so the first one to end is the first one to start, as in
// a search from the beginning. Characters that cannot be part of an occurrence ending
// behind the output (more than the old text's length back) are never looked at again.
//
// That ends wherever searching from the beginning ends. Where it would not, it stops:
// when a replacement would make the text longer than the limit, after as many
// replacements as the limit and the text's length together, or when values nest deeper
// than kMaxNesting (each an occurrence formed inside the value before). A value that
// contains the old text itself never ends that way: it is put in once for each
// occurrence of the original text, without being searched.
class TextReplacer {
 public:
  TextReplacer(std::string_view text,
               std::string_view old_text,
               std::string_view new_text,
               size_t max_length)
      : text_(text),
        old_(old_text),
        new_(new_text),
        max_length_(max_length),
        searcher_(old_text),
        self_referring_(new_text.size() >= old_text.size() &&
                        searcher_.Find(new_text, 0) != std::string_view::npos) {}

  std::string Run() {
    if (self_referring_)
      return ReplaceOnce();
    pieces_.push_back({text_, 0});
    unread_ = text_.size();
    fresh_ = old_.size() - 1;
    while (!pieces_.empty() && !stopped_) {
      Piece& top = pieces_.back();
      if (top.pos == top.text.size()) {
        pieces_.pop_back();
        fresh_ = old_.size() - 1;
      } else if (fresh_ > 0) {
        // Right behind a change: an occurrence may end in any of the next characters.
        Take(top, 1);
        --fresh_;
        if (EndsWithOld())
          Replace();
      } else {
        // The output's last characters come from this piece: search the piece itself.
        const size_t found = searcher_.Find(top.text, top.pos - (old_.size() - 1));
        if (found == std::string_view::npos) {
          Take(top, top.text.size() - top.pos);
        } else {
          Take(top, found + old_.size() - top.pos);
          Replace();
        }
      }
    }
    for (auto piece = pieces_.rbegin(); piece != pieces_.rend(); ++piece)
      out_.append(piece->text.substr(piece->pos));
    return std::move(out_);
  }

  bool stopped() const { return stopped_; }

 private:
  static constexpr size_t kMaxNesting = size_t{1} << 16;

  struct Piece {
    std::string_view text;
    size_t pos;  // next unread character
  };

  void Take(Piece& piece, size_t count) {
    out_.append(piece.text.substr(piece.pos, count));
    piece.pos += count;
    unread_ -= count;
  }

  bool EndsWithOld() const {
    return out_.size() >= old_.size() &&
           SameText(std::string_view(out_).substr(out_.size() - old_.size()), old_);
  }

  // Takes the occurrence at the end of the output out and puts the value in front of
  // the unread text; or stops, leaving it, when one of the limits is reached.
  void Replace() {
    const size_t length = out_.size() - old_.size() + new_.size() + unread_;
    if (rounds_ >= max_length_ + text_.size() || pieces_.size() >= kMaxNesting ||
        (new_.size() > old_.size() && length > max_length_)) {
      stopped_ = true;
      return;
    }
    ++rounds_;
    out_.resize(out_.size() - old_.size());
    pieces_.push_back({new_, 0});
    unread_ += new_.size();
    fresh_ = old_.size() - 1;
  }

  // One left-to-right pass for a value that contains the old text.
  std::string ReplaceOnce() {
    size_t pos = 0;
    for (size_t found = searcher_.Find(text_, 0); found != std::string_view::npos;
         found = searcher_.Find(text_, pos)) {
      const size_t length = out_.size() + new_.size() + (text_.size() - pos - old_.size());
      if (new_.size() > old_.size() && length > max_length_) {
        stopped_ = true;
        break;
      }
      out_.append(text_.substr(pos, found - pos));
      out_.append(new_);
      pos = found + old_.size();
    }
    out_.append(text_.substr(pos));
    return std::move(out_);
  }

  std::string_view text_;
  std::string_view old_;
  std::string_view new_;
  size_t max_length_;
  FoldedSearcher searcher_;
  bool self_referring_;
  std::string out_;
  std::vector<Piece> pieces_;  // the unread text: the top piece is read first
  size_t unread_ = 0;          // characters left in the pieces
  size_t fresh_ = 0;           // characters to read one by one before searching a piece
  size_t rounds_ = 0;
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
