#include "setupdata/archive_codec.h"

#include <libdeflate.h>
#include <zlib.h>

#include <new>
#include <stdexcept>

#include "setupdata/archive_format.h"

namespace kvb {

struct ChunkInflater::State {
  ZlibCodec codec;
  libdeflate_decompressor* deflate = nullptr;
  z_stream zlib{};
  bool zlib_ready = false;

  ~State() {
    if (deflate)
      libdeflate_free_decompressor(deflate);
    if (zlib_ready)
      inflateEnd(&zlib);
  }
};

ChunkInflater::ChunkInflater(ZlibCodec codec) : state_(std::make_unique<State>()) {
  state_->codec = codec;
  if (codec == ZlibCodec::kLibdeflate) {
    state_->deflate = libdeflate_alloc_decompressor();
    if (!state_->deflate)
      throw std::bad_alloc();
  } else {
    if (inflateInit(&state_->zlib) != Z_OK)
      throw std::bad_alloc();
    state_->zlib_ready = true;
  }
}

ChunkInflater::~ChunkInflater() = default;

std::optional<size_t> ChunkInflater::Inflate(const uint8_t* in, size_t size, uint8_t* out) {
  if (state_->codec == ZlibCodec::kLibdeflate) {
    size_t produced = 0;
    const libdeflate_result r =
        libdeflate_zlib_decompress(state_->deflate, in, size, out, kPieceSize, &produced);
    if (r != LIBDEFLATE_SUCCESS)
      return std::nullopt;
    return produced;
  }
  // One call with Z_FINISH: anything but the end of the stream within the output
  // buffer (damage, a short stream, a preset dictionary, too much output) is a failure.
  z_stream& z = state_->zlib;
  if (inflateReset(&z) != Z_OK)
    return std::nullopt;
  z.next_in = const_cast<Bytef*>(in);
  z.avail_in = static_cast<uInt>(size);
  z.next_out = out;
  z.avail_out = static_cast<uInt>(kPieceSize);
  if (inflate(&z, Z_FINISH) != Z_STREAM_END)
    return std::nullopt;
  return kPieceSize - z.avail_out;
}

}  // namespace kvb
