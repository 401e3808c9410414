#include <gtest/gtest.h>

#include "ui/controls/directory_entries.h"
#include "ui/controls/drive_entries.h"

namespace kvb {
namespace {

TEST(DriveEntriesTest, LettersFromTheMask) {
  EXPECT_EQ(DriveLetters(0), std::vector<char>{});
  EXPECT_EQ(DriveLetters(0b1101), (std::vector<char>{'a', 'c', 'd'}));
  EXPECT_EQ(DriveLetters(0xFFFFFFFFu).size(), 26u) << "bits above z are no drives";
  EXPECT_EQ(DriveLetters(1u << 25), std::vector<char>{'z'});
}

TEST(DriveEntriesTest, Texts) {
  struct Case {
    DriveInfo drive;
    TextCase text_case;
    const char* expected;
  } cases[] = {
      {{'a', DriveKind::kRemovable, "IGNORED", ""}, TextCase::kLowerCase, "a:"},
      {{'a', DriveKind::kRemovable, "", ""}, TextCase::kUpperCase, "A:"},
      {{'c', DriveKind::kFixed, "System", ""}, TextCase::kLowerCase, "c: System"},
      {{'c', DriveKind::kFixed, "", ""}, TextCase::kUpperCase, "C: "},
      {{'n', DriveKind::kNetwork, "Label", "\\\\server\\share"},
       TextCase::kLowerCase,
       "n: \\\\server\\share"},
      {{'d', DriveKind::kCdRom, "Disc 1", ""}, TextCase::kLowerCase, "d: Disc 1"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DriveText(c.drive, c.text_case), c.expected);
}

TEST(DriveEntriesTest, PictureNames) {
  EXPECT_EQ(DrivePictureName(DriveKind::kFixed, true), "NFC_HARD95");
  EXPECT_EQ(DrivePictureName(DriveKind::kUnknown, false), "NFC_HARD");
  EXPECT_EQ(DrivePictureName(DriveKind::kRemovable, true), "NFC_FLOPPY95");
  EXPECT_EQ(DrivePictureName(DriveKind::kNetwork, true), "NFC_NETWORK95");
  EXPECT_EQ(DrivePictureName(DriveKind::kCdRom, true), "NFC_CDROM95");
  EXPECT_EQ(DrivePictureName(DriveKind::kRam, false), "NFC_RAM");
}

std::string Describe(const std::vector<DirectoryEntry>& entries) {
  std::string text;
  for (const DirectoryEntry& e : entries) {
    const char picture = e.Picture == FolderPicture::kOpen      ? 'o'
                         : e.Picture == FolderPicture::kCurrent ? 'c'
                                                                : '-';
    text += std::to_string(e.Level) + picture + e.Text + "=" + e.Path + ";";
  }
  return text;
}

TEST(DirectoryEntriesTest, PathDownToTheFolderThenSortedSubFolders) {
  EXPECT_EQ(Describe(DirectoryEntries("C:\\Program Files\\Acme\\", {"zeta", "Bin", "alpha"}, true)),
            "0oC:\\=C:\\;1oProgram Files=C:\\Program Files;"
            "2cAcme=C:\\Program Files\\Acme;"
            "3-alpha=C:\\Program Files\\Acme\\alpha;3-Bin=C:\\Program Files\\Acme\\Bin;"
            "3-zeta=C:\\Program Files\\Acme\\zeta;");
}

TEST(DirectoryEntriesTest, RootAsCurrentFolder) {
  const auto entries = DirectoryEntries("D:\\", {"Data"}, true);
  EXPECT_EQ(Describe(entries), "0cD:\\=D:\\;1-Data=D:\\Data;");
  EXPECT_EQ(CurrentDirectoryIndex(entries), 0);
  EXPECT_EQ(Describe(DirectoryEntries("D:", {}, true)), "0cD:\\=D:\\;");
}

TEST(DirectoryEntriesTest, CaseAndOddPaths) {
  EXPECT_EQ(Describe(DirectoryEntries("C:\\WINDOWS", {"System32"}, false)),
            "0oc:\\=C:\\;1cwindows=C:\\WINDOWS;2-system32=C:\\WINDOWS\\System32;");
  EXPECT_EQ(Describe(DirectoryEntries("C:\\a\\\\b", {}, true)),
            "0oC:\\=C:\\;1oa=C:\\a;2cb=C:\\a\\b;")
      << "an empty piece is no level";
  EXPECT_TRUE(DirectoryEntries("relative\\path", {}, true).empty());
  EXPECT_TRUE(DirectoryEntries("", {}, true).empty());
  EXPECT_EQ(CurrentDirectoryIndex({}), -1);
}

}  // namespace
}  // namespace kvb
