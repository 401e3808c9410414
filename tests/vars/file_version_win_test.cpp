#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <thread>

#include "vars/com_init_win.h"
#include "vars/file_version.h"

namespace kvb {
namespace {

TEST(FileVersion, FromTheVersionResource) {
  FixedFileVersion version;
  ASSERT_TRUE(GetFileVersion(_pgmptr, version));  // this program carries 1.2.3.4
  EXPECT_EQ(version.dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(FormatFileVersion(version), "1.2.3.4");
  EXPECT_EQ(version.dwProductVersionMS, 0x00050006u);
}

TEST(FileVersion, NoResourceOrNoFile) {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const std::string plain =
      std::string(folder) + "kvb-plain-" + std::to_string(GetCurrentProcessId()) + ".dll";
  std::FILE* file = std::fopen(plain.c_str(), "w");
  std::fputs("text", file);
  std::fclose(file);
  for (const std::string& path : {plain, plain + ".missing"}) {
    FixedFileVersion version;
    version.dwFileVersionMS = 7;
    EXPECT_FALSE(GetFileVersion(path, version)) << path;
    EXPECT_EQ(FormatFileVersion(version), "0.0.0.0");
  }
  DeleteFileA(plain.c_str());
}

TEST(ComInitialization, StartsAndReportsFailure) {
  std::thread([] {
    std::string error;
    ComInitialization com = ComInitialization::Start(error);
    EXPECT_TRUE(com.Active());
    EXPECT_EQ(error, "");
    ComInitialization moved = std::move(com);
    EXPECT_FALSE(com.Active());
    EXPECT_TRUE(moved.Active());
  }).join();
  std::thread([] {
    // A thread already in the multithreaded apartment cannot switch.
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    std::string error;
    ComInitialization com = ComInitialization::Start(error);
    EXPECT_FALSE(com.Active());
    EXPECT_EQ(error, "CoInitialize failed (0x80010106)");
    CoUninitialize();
  }).join();
}

}  // namespace
}  // namespace kvb
