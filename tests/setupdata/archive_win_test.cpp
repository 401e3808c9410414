// The Windows side of the archive reader, run under Wine: file attributes, file times,
// sharing modes and the message pump.
#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>

#include "setupdata/archive_reader.h"
#include "setupdata/archive_test_util.h"
#include "setupdata/archive_writer.h"

namespace kvb {
namespace {

using test::ReadFile;
using test::ScratchFolder;

class ArchiveWinTest : public ::testing::Test {
 protected:
  ArchiveWinTest() {
    zip.OnBeforeFile = [this](TSetupKVBZip&, int32_t index, std::string& name, bool&, uint32_t,
                              uint32_t&) { name += "e" + std::to_string(index) + ".bin"; };
  }
  bool Extract(const ArchiveBlockContent& content) {
    std::ostringstream out;
    WriteArchiveBlock(out, content);
    MemorySource source(out.str());
    ArchiveStream stream(source);
    return zip.Extract(stream, dir.Dir());
  }
  ScratchFolder dir;
  TSetupKVBZip zip;
};

TEST_F(ArchiveWinTest, ReadOnlyTargetIsReportedAndKept) {
  const std::string target = dir / "e0.bin";
  test::WriteFile(target, "old content");
  ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
  std::vector<std::string> reported;
  zip.OnFileNotWritable = [&](TSetupKVBZip&, int32_t, std::string& name) {
    reported.push_back(name);
  };
  EXPECT_TRUE(
      Extract({"", {ArchiveEntry::FromBytes(0, 0, "new"), ArchiveEntry::FromBytes(1, 0, "one")}}));
  EXPECT_EQ(reported, std::vector<std::string>{target});
  EXPECT_EQ(ReadFile(target), "old content");
  EXPECT_EQ(ReadFile(dir / "e1.bin"), "one");
  SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(ArchiveWinTest, FileTimeComesFromTheDosDate) {
  const uint32_t date =
      (uint32_t{(2004 - 1980) << 9 | 7 << 5 | 15} << 16) | (13 << 11 | 45 << 5 | 10);
  ASSERT_TRUE(Extract({"", {ArchiveEntry::FromBytes(0, date, test::TextBytes(100000))}}));
  HANDLE file = CreateFileA((dir / "e0.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  FILETIME written, local;
  WORD dos_date = 0, dos_time = 0;
  GetFileTime(file, nullptr, nullptr, &written);
  CloseHandle(file);
  FileTimeToLocalFileTime(&written, &local);
  FileTimeToDosDateTime(&local, &dos_date, &dos_time);
  EXPECT_EQ((uint32_t{dos_date} << 16) | dos_time, date);
}

TEST_F(ArchiveWinTest, VolumeIsOpenedWithoutWriteSharing) {
  ArchiveBlockContent content{"", {ArchiveEntry::FromBytes(0, 0, test::RandomBytes(150000, 3))}};
  WriteArchiveVolumes(dir / "Setup.exe", 100000, content);
  const std::string second = dir / "Setup.002";
  zip.OnNeedVolume = [&](TSetupKVBZip&, uint16_t, std::string& name, bool&) { name = second; };
  DWORD sharing_error = 0;
  zip.OnAfterFile = [&](TSetupKVBZip&, int32_t, std::string&, ArchiveOutput&, uint32_t) {
    HANDLE h = CreateFileA(second.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    sharing_error = h == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    if (h != INVALID_HANDLE_VALUE)
      CloseHandle(h);
  };
  ASSERT_TRUE(zip.ExtractFromFile(dir / "Setup.001", dir.Dir()));
  EXPECT_EQ(sharing_error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
}

int g_dispatched = 0;
LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_APP)
    ++g_dispatched;
  return DefWindowProcA(hwnd, msg, wp, lp);
}

TEST_F(ArchiveWinTest, PendingWindowMessagesAreDispatchedDuringExtraction) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = CountingProc;
  wc.lpszClassName = "KvbArchivePumpTest";
  RegisterClassA(&wc);
  HWND hwnd =
      CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  PostMessageA(hwnd, WM_APP, 0, 0);
  Sleep(2 * kMessagePumpIntervalMs);
  EXPECT_TRUE(Extract({"", {ArchiveEntry::FromBytes(0, 0, "x")}}));
  EXPECT_EQ(g_dispatched, 1);
  DestroyWindow(hwnd);
}

}  // namespace
}  // namespace kvb
