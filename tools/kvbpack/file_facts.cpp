#include "file_facts.h"

#include <chrono>
#include <filesystem>
#include <system_error>

#include "setupdata/byte_source.h"

namespace kvb::pack {

std::optional<FileFacts> InspectFile(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path p(path);
  if (!fs::is_regular_file(p, ec))
    return std::nullopt;
  FileFacts facts;
  facts.size = fs::file_size(p, ec);
  if (ec)
    return std::nullopt;
  const fs::file_time_type time = fs::last_write_time(p, ec);
  if (ec)
    return std::nullopt;
  const auto system = std::chrono::file_clock::to_sys(time);
  facts.modified =
      std::chrono::duration_cast<std::chrono::seconds>(system.time_since_epoch()).count();
  std::unique_ptr<ByteSource> source = OpenFileSource(path);
  if (!source)
    return std::nullopt;
  facts.version = ReadPeFileVersion(*source);
  return facts;
}

std::string JoinPath(const std::string& base_dir, const std::string& path) {
  const std::filesystem::path p(path);
  if (base_dir.empty() || p.is_absolute())
    return path;
  return (std::filesystem::path(base_dir) / p).string();
}

}  // namespace kvb::pack
