// Helpers of the archive tests: a scratch folder, file contents, and hand-made blocks.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "setupdata/archive_compressor.h"
#include "setupdata/archive_format.h"
#include "setupdata/byte_writer.h"

namespace kvb::test {

// A fresh folder under the system's temporary folder, removed with its content.
class ScratchFolder {
 public:
  ScratchFolder() {
    static int counter = 0;
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("kvb-archive-" + std::to_string(rd()) + "-" + std::to_string(++counter));
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::all, ec);
    std::filesystem::remove_all(path_, ec);
  }
  // The folder's path with a trailing separator, as DestDir is given.
  std::string Dir() const {
    return path_.string() + static_cast<char>(std::filesystem::path::preferred_separator);
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Bytes that do not compress.
inline std::string RandomBytes(size_t size, uint32_t seed) {
  std::mt19937 gen(seed);
  std::string out(size, '\0');
  for (char& c : out)
    c = static_cast<char>(gen());
  return out;
}

// Bytes that compress well.
inline std::string TextBytes(size_t size) {
  std::string out;
  for (size_t i = 0; out.size() < size; ++i)
    out += "line " + std::to_string(i % 977) + " of text\n";
  out.resize(size);
  return out;
}

inline std::string Zlib(const std::string& bytes) {
  std::string out;
  PieceCompressor(ZlibCodec::kZlib)
      .Compress(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out);
  return out;
}

// A block written record by record, for layouts the writer never makes.
class BlockBytes {
 public:
  BlockBytes(uint32_t total_size, uint32_t file_count, bool header = true) {
    if (header)
      I32(int32_t(kArchiveSignature.size())).Raw(kArchiveSignature).U32(total_size).U32(file_count);
  }
  BlockBytes& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
  BlockBytes& U32(uint32_t v) {
    w_.U32(v);
    return *this;
  }
  BlockBytes& Raw(std::string_view bytes) {
    w_.Bytes(bytes);
    return *this;
  }
  BlockBytes& Message(const std::string& text) {
    return I32(kMarkerMessage).I32(int32_t(text.size())).Raw(text);
  }
  BlockBytes& Entry(int32_t index, uint32_t date = 0) { return I32(index).U32(date).Magic(); }
  BlockBytes& Magic() { return Raw(kEntryMagic); }
  BlockBytes& Compressed(const std::string& zlib) { return I32(int32_t(zlib.size())).Raw(zlib); }
  BlockBytes& Stored(const std::string& bytes) { return I32(-int32_t(bytes.size())).Raw(bytes); }
  BlockBytes& EndEntry() { return I32(kChunkEndOfEntry); }
  BlockBytes& Break(uint32_t volume) { return I32(kMarkerVolumeBreak).U32(volume); }
  BlockBytes& End() { return I32(kMarkerEndOfBlock); }
  std::string Take() { return w_.Take(); }

 private:
  ByteWriter w_;
};

}  // namespace kvb::test
