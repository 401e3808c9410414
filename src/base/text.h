// Text helpers shared by every subsystem. Texts are byte strings in the ANSI code page;
// case folding is ASCII-only (a-z and A-Z fold, every other byte compares by value), which
// is how names, file names and keywords are compared throughout the runtime.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvb {

char UpperAscii(char c);
std::string UpperText(std::string_view text);
std::string LowerText(std::string_view text);

// Three-way comparison with ASCII case folding: negative, zero or positive.
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
bool StartsWithText(std::string_view text, std::string_view prefix);
// Position of `needle` in `haystack`, case-insensitively, or npos.
size_t FindText(std::string_view haystack, std::string_view needle, size_t from = 0);

// Lenient integer conversion used for every number written as text in a package:
// keeps only the digits and minus signs, an empty rest is 0, the rest must then be a
// signed 32-bit decimal number. Returns nullopt when it is not ("-", "1-2", overflow).
std::optional<int32_t> ParseLenientInt(std::string_view text);

// Splits at every occurrence of `separator`; empty pieces are kept.
std::vector<std::string> SplitText(std::string_view text, std::string_view separator);
std::string JoinText(const std::vector<std::string>& pieces, std::string_view separator);

// Path pieces with the Windows separators '\\', '/' and ':' (the drive colon).
std::string ExtractFileName(std::string_view path);  // text behind the last separator
std::string ExtractFilePath(std::string_view path);  // up to and including it
std::string ExtractFileExt(std::string_view path);   // ".ext" of the file name, or ""
std::string IncludeTrailingBackslash(std::string_view path);
std::string ExcludeTrailingBackslash(std::string_view path);  // removes one '\\'

}  // namespace kvb
