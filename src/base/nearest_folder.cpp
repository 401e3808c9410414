#include "base/nearest_folder.h"

#include "base/text.h"

namespace kvb {

std::string NearestExistingFolder(std::string_view folder,
                                  std::string_view fallback,
                                  const std::function<bool(const std::string&)>& exists) {
  std::string path = ExcludeTrailingBackslash(folder);
  while (!exists(path)) {
    const size_t last = path.rfind('\\');
    const std::string parent = last == std::string::npos ? std::string() : path.substr(0, last);
    if (parent.empty() || parent == path)
      return std::string(fallback);
    path = parent;
  }
  return path;
}

}  // namespace kvb
