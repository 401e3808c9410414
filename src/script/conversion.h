// Integer arguments of script statements and the texts of statement fields.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kvb {

// Thrown when an integer argument is not a number. The interpreter catches it at the
// statement and ends the whole run as EXIT does; the statement has no effect.
struct ScriptConversionError {};

// Keeps the digits and minus signs of `text`; an empty rest is 0; anything else that is
// not a signed 32-bit decimal number ("-", "1-2", "99999999999") throws
// ScriptConversionError.
int32_t ScriptInteger(std::string_view text);

// True when `text` is not empty and holds only the digits 0-9.
bool IsDigitsOnly(std::string_view text);

// A stored statement field: its text up to the first zero byte, at most 1000 characters.
std::string_view FieldText(const std::string& field);

}  // namespace kvb
