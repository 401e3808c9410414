// Reads arbitrary bytes as a CE executable, as the stand-in device does with what it is
// asked to start. Damaged files must be refused with a reason, never read out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "ce_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> file(data, data + size);
  std::string error;
  const std::optional<kvb::cepe::CeImageFacts> facts = kvb::cepe::ReadCeImage(file, error);
  if (!facts && error.empty())
    abort();
  return 0;
}
