#include "base/nearest_folder.h"

#include <gtest/gtest.h>

#include <set>

namespace kvb {
namespace {

TEST(NearestFolderTest, WalksUpToAnExistingFolder) {
  const std::set<std::string> existing = {"C:", "C:\\Program Files", "D:\\Data"};
  const auto exists = [&](const std::string& path) { return existing.count(path) > 0; };
  struct Case {
    const char* folder;
    const char* expected;
  } cases[] = {
      {"C:\\Program Files\\Acme\\Bin\\", "C:\\Program Files"},
      {"C:\\Program Files", "C:\\Program Files"},
      {"C:\\Nowhere", "C:"},
      {"D:\\Data\\", "D:\\Data"},
      {"E:\\Gone\\Too", "C:\\Windows\\"},  // E: is missing: the fallback, as given
      {"relative", "C:\\Windows\\"},
      {"", "C:\\Windows\\"},
      {"\\\\server\\share\\x", "C:\\Windows\\"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(NearestExistingFolder(c.folder, "C:\\Windows\\", exists), c.expected) << c.folder;
}

}  // namespace
}  // namespace kvb
