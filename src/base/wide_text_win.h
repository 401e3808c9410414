// Conversions between the runtime's ANSI texts and the wide texts of Unicode-only
// interfaces (COM, the ActiveSync Remote API).
#pragma once

#include <string>
#include <string_view>

namespace kvb {

// Through the system's ANSI code page; characters it lacks become its default character.
std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(std::wstring_view text);

}  // namespace kvb
