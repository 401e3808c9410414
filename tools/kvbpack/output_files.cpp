#include "output_files.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "setupdata/archive_format.h"

#ifdef _WIN32
#include <process.h>
#define KVB_GETPID _getpid
#else
#include <unistd.h>
#define KVB_GETPID getpid
#endif

namespace kvb::pack {

OutputFiles::OutputFiles(std::string output) : output_(std::move(output)) {
  // The process id keeps two builds into the same folder apart.
  stem_ = output_ + ".kvbpack-" + std::to_string(KVB_GETPID());
}

OutputFiles::~OutputFiles() {
  std::error_code ec;
  for (const std::string& path : pending_)
    std::filesystem::remove(path, ec);
  if (package_.empty())
    return;
  for (uint32_t n = 1; n <= kMaxVolumeNumber; ++n) {
    if (!std::filesystem::remove(VolumeFileName(package_, n), ec))
      break;
  }
}

std::string OutputFiles::Temporary(const std::string& suffix) {
  pending_.push_back(stem_ + suffix);
  return pending_.back();
}

std::string OutputFiles::TemporaryPackage() {
  // Volume files replace the package's extension, so the temporary name keeps it last.
  const std::filesystem::path out(output_);
  package_ = (out.parent_path() / (out.stem().string() + ".kvbpack-" +
                                   std::to_string(KVB_GETPID()) + out.extension().string()))
                 .string();
  pending_.push_back(package_);
  return package_;
}

void OutputFiles::Commit(const std::string& temporary, const std::string& final) {
  std::error_code ec;
  std::filesystem::rename(temporary, final, ec);
  if (ec)
    throw std::runtime_error("cannot rename \"" + temporary + "\" to \"" + final +
                             "\": " + ec.message());
  pending_.erase(std::remove(pending_.begin(), pending_.end(), temporary), pending_.end());
}

}  // namespace kvb::pack
