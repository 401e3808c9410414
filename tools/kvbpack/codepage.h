// Project files are UTF-8; package texts are bytes in the Windows-1252 code page. The
// conversion is a bijection on all 256 byte values: the five byte values that code page
// leaves undefined map to the C1 control characters of the same number, as Windows does,
// so any package text survives a dump and a rebuild unchanged.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kvb::pack {

// Converts UTF-8 text to Windows-1252 bytes. On failure returns nullopt and sets
// `bad_offset` to the byte offset (in `utf8`) of the first character that is not valid
// UTF-8 or has no Windows-1252 byte.
std::optional<std::string> Utf8ToAnsi(std::string_view utf8, size_t* bad_offset = nullptr);

// Converts Windows-1252 bytes to UTF-8. Never fails.
std::string AnsiToUtf8(std::string_view ansi);

}  // namespace kvb::pack
