#include <gtest/gtest.h>

#include <vector>

#include "devices/agent_answer.h"

namespace kvb {
namespace {

std::vector<uint8_t> Bytes(std::u16string_view text) {
  std::vector<uint8_t> bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  return bytes;
}

TEST(AgentAnswerTest, WideValuesEndAtTheirFirstNulOrTheLimit) {
  EXPECT_EQ(WideValueText(Bytes(u"PocketPC")), u"PocketPC");  // no NUL stored
  EXPECT_EQ(WideValueText(Bytes(std::u16string(u"ab\0cd", 5))), u"ab");
  std::vector<uint8_t> odd = Bytes(u"xy");
  odd.push_back('z');
  EXPECT_EQ(WideValueText(odd), u"xy");
  EXPECT_EQ(WideValueText({}), u"");
  EXPECT_EQ(WideValueText(Bytes(std::u16string(20000, u'a'))).size(), kDeviceTextLimit);
  EXPECT_EQ(WideValueText(Bytes(u"\u00e9\u4e2d")), u"\u00e9\u4e2d");
}

TEST(AgentAnswerTest, OwnerCompanyStartsLaterOnNewerDevices) {
  std::u16string owner(80, u'\0');
  owner.replace(0, 4, u"Anne");
  owner.replace(33, 3, u"Old");
  owner.replace(36, 4, u"Corp");
  const std::vector<uint8_t> bytes = Bytes(owner);
  EXPECT_EQ(OwnerField(bytes, 0, 3), u"Anne");
  EXPECT_EQ(OwnerField(bytes, 1, 3), u"Corp");
  EXPECT_EQ(OwnerField(bytes, 1, 2), u"OldCorp");
  EXPECT_EQ(OwnerField(Bytes(u"Short"), 1, 4), u"");
  EXPECT_EQ(OwnerField(bytes, 2, 4), u"");
}

}  // namespace
}  // namespace kvb
