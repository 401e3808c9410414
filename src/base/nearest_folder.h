// The folder a folder browser starts in when the wanted one is missing.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kvb {

// `folder` without its trailing backslash, replaced while `exists` says it does not exist
// by its parent (the path up to its last backslash); when no different non-empty parent
// is left, `fallback` as it is.
std::string NearestExistingFolder(std::string_view folder,
                                  std::string_view fallback,
                                  const std::function<bool(const std::string&)>& exists);

}  // namespace kvb
