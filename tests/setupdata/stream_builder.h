// Stored bytes written by hand, field by field, for the layout tests: they check each
// reader against an independent statement of the layout rather than against its own
// writer.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "setupdata/byte_writer.h"

namespace kvb {

class Stream {
 public:
  Stream& Z(std::string_view text) {
    return Do([&] { w_.ZStr(text); });
  }
  Stream& Zs(std::initializer_list<std::string_view> texts) {
    for (std::string_view t : texts)
      w_.ZStr(t);
    return *this;
  }
  Stream& B(uint8_t v) {
    return Do([&] { w_.U8(v); });
  }
  Stream& Bs(std::initializer_list<uint8_t> values) {
    for (uint8_t v : values)
      w_.U8(v);
    return *this;
  }
  Stream& W(uint16_t v) {
    return Do([&] { w_.U16(v); });
  }
  Stream& D(uint32_t v) {
    return Do([&] { w_.U32(v); });
  }
  Stream& Ds(std::initializer_list<uint32_t> values) {
    for (uint32_t v : values)
      w_.U32(v);
    return *this;
  }
  Stream& F(double v) {
    return Do([&] { w_.F64(v); });
  }
  Stream& Raw(std::string_view bytes) {
    return Do([&] { w_.Bytes(bytes); });
  }
  // A font record: face, size, colour, style, character set.
  Stream& Font(std::string_view face,
               uint32_t size,
               uint32_t color,
               uint8_t style,
               uint8_t charset) {
    return Z(face).D(size).D(color).B(style).B(charset);
  }
  const std::string& str() const { return w_.Data(); }

 private:
  template <typename F>
  Stream& Do(F f) {
    f();
    return *this;
  }
  ByteWriter w_;
};

}  // namespace kvb
