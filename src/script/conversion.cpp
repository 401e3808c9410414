#include "script/conversion.h"

#include <algorithm>

#include "base/text.h"
#include "setupdata/records.h"

namespace kvb {

int32_t ScriptInteger(std::string_view text) {
  const std::optional<int32_t> value = ParseLenientInt(text);
  if (!value)
    throw ScriptConversionError{};
  return *value;
}

bool IsDigitsOnly(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view FieldText(const std::string& field) {
  std::string_view text(field);
  text = text.substr(0, std::min(text.find('\0'), kFixedTextLength));
  return text;
}

}  // namespace kvb
