#include "registry_check.h"

#include "base/text.h"

namespace kvb::pack {
namespace {

bool IsHexByte(std::string_view token) {
  return !token.empty() && token.size() <= 2 &&
         token.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos;
}

}  // namespace

std::string RegistryDataProblem(const TSetupRegChange& change) {
  if (change.Data.find('%') != std::string::npos)
    return {};
  if (change.ValueType == 1 && change.Data.find_first_of("0123456789") == std::string::npos)
    return "integer data must be a decimal number";
  if (change.ValueType == 2) {
    for (const std::string& token : SplitText(change.Data, " ")) {
      if (!token.empty() && !IsHexByte(token)) {
        return "binary data must be hexadecimal bytes separated by blanks (\"4B 56 42\"), not \"" +
               token + "\"";
      }
    }
  }
  return {};
}

}  // namespace kvb::pack
