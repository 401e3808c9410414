// Inflation of single chunks. Each chunk is one complete zlib stream (header, deflate
// data, Adler-32) of at most 65,536 bytes of output. Two libraries can do the work with
// the same results; libdeflate, made for whole buffers of this kind, is the faster one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

namespace kvb {

enum class ZlibCodec { kZlib, kLibdeflate };

inline constexpr ZlibCodec kShippedInflater = ZlibCodec::kLibdeflate;

// Inflates chunks one at a time; keeps its library state between chunks.
class ChunkInflater {
 public:
  explicit ChunkInflater(ZlibCodec codec = kShippedInflater);
  ~ChunkInflater();
  ChunkInflater(const ChunkInflater&) = delete;
  ChunkInflater& operator=(const ChunkInflater&) = delete;

  // Inflates the zlib stream in [in, in + size) into `out`, which has room for
  // kPieceSize bytes. Returns the number of bytes produced, or nullopt when the stream
  // is damaged, fails its Adler-32 check, is cut short or would produce more than
  // kPieceSize bytes. Bytes behind the end of the stream are ignored.
  std::optional<size_t> Inflate(const uint8_t* in, size_t size, uint8_t* out);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace kvb
