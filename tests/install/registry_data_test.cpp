// The data texts of registry changes turned into registry values.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "install/registry_data.h"

namespace kvb {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values)
    out += static_cast<char>(v);
  return out;
}

TEST(RegistryDataTest, EncodesEachValueType) {
  struct Case {
    uint32_t type;
    std::string data;
    RegistryData expected;
  };
  const std::vector<Case> cases = {
      {kRegChangeString, "abc", {kRegSz, std::string("abc\0", 4)}},
      {kRegChangeString, "", {kRegSz, std::string("\0", 1)}},
      {kRegChangeInteger, "1207", {kRegDword, Bytes({0xB7, 0x04, 0, 0})}},
      // Only the digits count: minus five writes 5, no digits write 0.
      {kRegChangeInteger, "-5", {kRegDword, Bytes({5, 0, 0, 0})}},
      {kRegChangeInteger, "1 2x3", {kRegDword, Bytes({123, 0, 0, 0})}},
      {kRegChangeInteger, "none", {kRegDword, Bytes({0, 0, 0, 0})}},
      {kRegChangeInteger, "99999999999", {kRegDword, Bytes({0xFF, 0xFF, 0xFF, 0xFF})}},
      // Three tokens give three bytes, with or without a blank behind the last one.
      {kRegChangeBinary, "4B 56 42", {kRegBinary, Bytes({0x4B, 0x56, 0x42})}},
      {kRegChangeBinary, "4B 56 42 ", {kRegBinary, Bytes({0x4B, 0x56, 0x42})}},
      {kRegChangeBinary, " 1  ff   0a", {kRegBinary, Bytes({0x01, 0xFF, 0x0A})}},
      // A token keeps its low 8 bits; its hexadecimal start counts.
      {kRegChangeBinary, "1FF 7g ZZ", {kRegBinary, Bytes({0xFF, 0x07, 0x00})}},
      {kRegChangeBinary, "", {kRegBinary, ""}},
      {kRegChangeMultiString,
       "English;Deutsch",
       {kRegMultiSz, std::string("English\0Deutsch\0\0", 17)}},
      {kRegChangeMultiString, "a;;b", {kRegMultiSz, std::string("a\0\0b\0\0", 6)}},
      {kRegChangeMultiString, "", {kRegMultiSz, std::string("\0\0", 2)}},
      // Unknown types write a multi-string.
      {9, "x;y", {kRegMultiSz, std::string("x\0y\0\0", 5)}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeRegistryData(c.type, c.data), c.expected)
        << "type " << c.type << " data '" << c.data << "'";
  }
}

TEST(RegistryDataTest, KeyPathLosesOneLeadingAndOneTrailingBackslash) {
  EXPECT_EQ(RegistryKeyPath("\\Software\\A\\"), "Software\\A");
  EXPECT_EQ(RegistryKeyPath("Software\\A"), "Software\\A");
  EXPECT_EQ(RegistryKeyPath("\\"), "");
}

}  // namespace
}  // namespace kvb
