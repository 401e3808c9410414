// Files a build writes under temporary names next to their final place. They are
// renamed into place only when the whole build has succeeded; on any failure they are
// deleted, so nothing half-written is ever left at an output path.
#pragma once

#include <string>
#include <vector>

namespace kvb::pack {

class OutputFiles {
 public:
  // Temporary names are made from `output` (the final package path).
  explicit OutputFiles(std::string output);
  ~OutputFiles();  // deletes every temporary file that was not committed
  OutputFiles(const OutputFiles&) = delete;
  OutputFiles& operator=(const OutputFiles&) = delete;

  // A new temporary path next to the output, ending in `suffix`; deleted at the end
  // unless committed.
  std::string Temporary(const std::string& suffix);
  // A temporary package path whose volume files (same name, extension ".001" ...) are
  // also deleted unless committed.
  std::string TemporaryPackage();

  // Renames `temporary` to `final` (replacing it). Throws std::runtime_error on failure.
  void Commit(const std::string& temporary, const std::string& final);

 private:
  std::string output_;
  std::string stem_;
  std::vector<std::string> pending_;
  std::string package_;  // the temporary package path, when one was asked for
};

}  // namespace kvb::pack
