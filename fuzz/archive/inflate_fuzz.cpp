// Differential fuzz target: zlib and libdeflate must accept and refuse the same chunks,
// and agree on the bytes of those they accept.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "setupdata/archive_codec.h"
#include "setupdata/archive_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static kvb::ChunkInflater zlib(kvb::ZlibCodec::kZlib);
  static kvb::ChunkInflater deflate(kvb::ZlibCodec::kLibdeflate);
  std::vector<uint8_t> a(kvb::kPieceSize), b(kvb::kPieceSize);
  const auto ra = zlib.Inflate(data, size, a.data());
  const auto rb = deflate.Inflate(data, size, b.data());
  if (ra.has_value() != rb.has_value())
    std::abort();
  if (ra && (*ra != *rb || std::memcmp(a.data(), b.data(), *ra) != 0))
    std::abort();
  return 0;
}
