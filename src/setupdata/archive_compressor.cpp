#include "setupdata/archive_compressor.h"

#include <libdeflate.h>
#include <zlib.h>

#include <new>
#include <stdexcept>

namespace kvb {

// See the class comment.
constexpr int kLibdeflateLevel = 9;

struct PieceCompressor::State {
  ZlibCodec codec;
  libdeflate_compressor* deflate = nullptr;
  ~State() {
    if (deflate)
      libdeflate_free_compressor(deflate);
  }
};

PieceCompressor::PieceCompressor(ZlibCodec codec) : state_(std::make_unique<State>()) {
  state_->codec = codec;
  if (codec == ZlibCodec::kLibdeflate) {
    state_->deflate = libdeflate_alloc_compressor(kLibdeflateLevel);
    if (!state_->deflate)
      throw std::bad_alloc();
  }
}

PieceCompressor::~PieceCompressor() = default;

void PieceCompressor::Compress(const uint8_t* in, size_t size, std::string& out) {
  if (state_->codec == ZlibCodec::kLibdeflate) {
    out.resize(libdeflate_zlib_compress_bound(state_->deflate, size));
    const size_t n = libdeflate_zlib_compress(state_->deflate, in, size, out.data(), out.size());
    if (n == 0)
      throw std::runtime_error("compression failed");
    out.resize(n);
    return;
  }
  uLongf n = compressBound(static_cast<uLong>(size));
  out.resize(n);
  if (compress2(reinterpret_cast<Bytef*>(out.data()), &n, in, static_cast<uLong>(size),
                Z_BEST_COMPRESSION) != Z_OK) {
    throw std::runtime_error("compression failed");
  }
  out.resize(n);
}

}  // namespace kvb
