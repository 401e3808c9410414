#include "setupdata/archive_format.h"

namespace kvb {

std::string VolumeExtension(uint32_t number) {
  const std::string digits = "00" + std::to_string(number);
  return digits.substr(digits.size() - 3);
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
  const size_t last = path.find_last_of(".\\/:");
  const size_t stem = (last != std::string_view::npos && path[last] == '.') ? last : path.size();
  std::string out(path.substr(0, stem));
  out.append(ext);
  return out;
}

std::string VolumeFileName(std::string_view setup_path, uint32_t number) {
  return ChangeFileExt(setup_path, "." + VolumeExtension(number));
}

}  // namespace kvb
