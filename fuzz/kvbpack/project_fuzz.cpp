// Project files of any content: the reader reports mistakes and never crashes; a
// project it accepts is written back to text that reads as the same records.
#include <cstdlib>
#include <string_view>

#include "project_reader.h"
#include "project_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  kvb::pack::Project project;
  try {
    project = kvb::pack::ReadProjectText(text, "fuzz.toml", "");
  } catch (const kvb::pack::ProjectError&) {
    return 0;
  }
  const std::string written = kvb::pack::WriteProjectText(project);
  try {
    const kvb::pack::Project again = kvb::pack::ReadProjectText(written, "again.toml", "");
    if (!(again.data == project.data))
      std::abort();
  } catch (const kvb::pack::ProjectError&) {
    std::abort();
  }
  return 0;
}
