#include "setupdata/byte_reader.h"

#include <gtest/gtest.h>

#include "setupdata/byte_writer.h"

namespace kvb {
namespace {

TEST(ByteReaderTest, ReadsWhatTheWriterWrote) {
  ByteWriter w;
  w.U8(7);
  w.U32(0x0042566C);
  w.I32(-4);
  w.F64(0.25);
  w.ZStr("abc");
  w.ZStr("");
  MemorySource source(w.Take());
  ByteReader r(source);
  EXPECT_EQ(r.U8(), 7);
  EXPECT_EQ(r.U32(), 0x0042566Cu);
  EXPECT_EQ(r.I32(), -4);
  EXPECT_EQ(r.F64(), 0.25);
  EXPECT_EQ(r.ZStr(), "abc");
  EXPECT_EQ(r.ZStr(), "");
  EXPECT_EQ(r.Remaining(), 0u);
  EXPECT_THROW(r.U8(), FormatError);
}

TEST(ByteReaderTest, TextRunningIntoTheEndEndsThere) {
  MemorySource source(std::string("xyz"));
  ByteReader r(source);
  EXPECT_EQ(r.ZStr(), "xyz");
  EXPECT_EQ(r.ZStr(), "");
}

TEST(ByteReaderTest, WindowBoundsEveryRead) {
  MemorySource source(std::string("\x01\x02\x03\x04\x05\x06", 6));
  ByteReader r(source, 2, 5);
  EXPECT_EQ(r.U8(), 3);
  EXPECT_THROW(r.U32(), FormatError);
  EXPECT_THROW(r.Seek(6), FormatError);
  EXPECT_THROW(r.Seek(1), FormatError);
  r.Seek(4);
  EXPECT_EQ(r.U8(), 5);
}

TEST(ByteReaderTest, CountsAreCheckedAgainstTheBytesLeft) {
  MemorySource source(std::string(10, 'a'));
  ByteReader r(source);
  EXPECT_EQ(r.Count(5, 2), 5u);
  EXPECT_THROW(r.Count(6, 2), FormatError);
  EXPECT_THROW(r.Count(0xFFFFFFFF, 1), FormatError);
}

TEST(ByteReaderTest, LongTextsCrossTheBuffer) {
  std::string big(200000, 'q');
  ByteWriter w;
  w.ZStr(big);
  w.ZStr(big.substr(0, 1500));
  MemorySource source(w.Take());
  ByteReader r(source);
  EXPECT_EQ(r.ZStr(), big);
  EXPECT_EQ(r.ZStr(1000), std::string(1000, 'q'));
}

}  // namespace
}  // namespace kvb
