// Little-endian writer into a byte string: the mirror of ByteReader.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kvb {

class ByteWriter {
 public:
  void U8(uint8_t v) { out_ += static_cast<char>(v); }
  void U16(uint16_t v);
  void U32(uint32_t v);
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void F64(double v);
  void Bytes(std::string_view bytes) { out_.append(bytes); }
  // The text followed by one zero byte.
  void ZStr(std::string_view text);

  size_t Size() const { return out_.size(); }
  const std::string& Data() const { return out_; }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

}  // namespace kvb
