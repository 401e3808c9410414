// The removal's decisions without a machine: component matching, the passes' order, the
// registry key chain, remembered answers and the paths a log may name.
#include <gtest/gtest.h>

#include "setupdata/uninst_item_io.h"
#include "uninstall/removal_plan.h"
#include "uninstall/test_items.h"

namespace kvb {
namespace {

TEST(ComponentsMatchTest, Cases) {
  struct Case {
    const char* item;
    RemovalSelection selection;
    bool match;
  } cases[] = {
      // A complete removal takes everything, items without components too.
      {"", {true, "", ""}, true},
      {"B|A", {true, "A", ""}, true},
      {"Other", {true, "A", ""}, true},
      // A partial removal never takes items without components.
      {"", {false, "A", ""}, false},
      {"||", {false, "A", ""}, false},
      {"A", {false, "", ""}, false},
      // One removed name suffices while no name of the item stays installed: the item
      // naming B first and A second goes when A is removed and B is not installed ...
      {"B|A", {false, "A", ""}, true},
      {"B|A", {false, "b", "A"}, false},
      // ... and stays when B stays installed, whichever name comes first.
      {"B|A", {false, "A", "B"}, false},
      {"A|B", {false, "A", "C|b"}, false},
      {"|a|", {false, "X|A", "C"}, true},
      {"C", {false, "A|B", "C"}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ComponentsMatch(c.item, c.selection), c.match)
        << "item \"" << c.item << "\" removing \"" << c.selection.Components << "\" keeping \""
        << c.selection.Kept << "\" all " << c.selection.RemoveAll;
  }
}

TEST(RegistryKeyChainTest, DeepestFirstWithoutEmptyElements) {
  EXPECT_EQ(RegistryKeyChain("Software\\Kvb\\Sample"),
            (std::vector<std::string>{"Software\\Kvb\\Sample", "Software\\Kvb", "Software"}));
  EXPECT_EQ(RegistryKeyChain("\\Software\\\\Kvb\\"),
            (std::vector<std::string>{"Software\\Kvb", "Software"}));
  EXPECT_TRUE(RegistryKeyChain("\\").empty());
}

TEST(IsSystemKeyTest, KeysTheSystemKeepsStayEvenWhenEmpty) {
  struct Case {
    uint8_t root;
    const char* key;
    bool system;
  } cases[] = {
      {2, "Software", true},
      {1, "\\Software\\", true},
      {2, "Software\\Acme", false},
      {2, "Software\\Acme\\Sample", false},
      {2, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", true},
      {2, "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", true},
      {2, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Acme Sample", false},
      {2, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\sample.exe", false},
      {2, "Software\\Classes", true},
      {2, "software\\classes\\clsid", true},
      {2, "Software\\Classes\\.kvb", false},
      {2, "Software\\Classes\\CLSID\\{00000000-0000-0000-0000-000000000001}", false},
      {2, "Software\\Policies\\Acme", false},
      {2, "System\\CurrentControlSet\\Services", true},
      {2, "System\\CurrentControlSet\\Services\\KvbDriver", false},
      {0, ".kvb", false},
      {0, "Kvb.Document\\shell", false},
      {0, "CLSID", true},
      {0, "TypeLib", true},
      {0, "*", true},
      {0, "*\\shellex", false},
      {1, "Environment", true},
      {2, "", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsSystemKey(c.root, c.key), c.system) << int{c.root} << " " << c.key;
}

TEST(RemovalAnswersTest, ToAllAnswersAreRememberedPerQuestion) {
  RemovalAnswers answers;
  EXPECT_EQ(answers.Remembered(FileQuestion::kNone), true);
  EXPECT_EQ(answers.Remembered(FileQuestion::kSharedFile), std::nullopt);
  EXPECT_FALSE(answers.Answer(FileQuestion::kSharedFile, FileAnswer::kNo));
  EXPECT_EQ(answers.Remembered(FileQuestion::kSharedFile), std::nullopt);
  EXPECT_FALSE(answers.Answer(FileQuestion::kSharedFile, FileAnswer::kNoToAll));
  EXPECT_EQ(answers.Remembered(FileQuestion::kSharedFile), false);
  EXPECT_EQ(answers.Remembered(FileQuestion::kTypeLibrary), std::nullopt);
  EXPECT_TRUE(answers.Answer(FileQuestion::kServer, FileAnswer::kYesToAll));
  EXPECT_EQ(answers.Remembered(FileQuestion::kServer), true);
  EXPECT_TRUE(answers.Answer(FileQuestion::kTypeLibrary, FileAnswer::kYes));
  EXPECT_EQ(answers.Remembered(FileQuestion::kTypeLibrary), std::nullopt);
}

TEST(QuestionForTest, FirstFlagDecides) {
  TSetupFile file;
  EXPECT_EQ(QuestionFor(file), FileQuestion::kNone);
  file.ActiveX = 1;
  EXPECT_EQ(QuestionFor(file), FileQuestion::kServer);
  file.TypeLibrary = 1;
  EXPECT_EQ(QuestionFor(file), FileQuestion::kTypeLibrary);
  file.SharedFile = 1;
  EXPECT_EQ(QuestionFor(file), FileQuestion::kSharedFile);
}

// The steps as "pass action index" texts, for compact expectations.
std::vector<std::string> Describe(const std::vector<RemovalStep>& steps) {
  static const char* names[] = {"file", "plain", "conduit", "folder", "value", "keys", "keep"};
  std::vector<std::string> out;
  for (const RemovalStep& s : steps) {
    out.push_back(std::string(names[static_cast<int>(s.Action)]) + " " + std::to_string(s.Index) +
                  (s.Counted ? "" : " uncounted"));
  }
  return out;
}

std::vector<TUninstItem> MixedLog() {
  return {
      FolderItem("C:\\App"),                                     // 0
      FolderItem("C:\\App\\Data"),                               // 1
      FileItem("C:\\App\\main.exe", ""),                         // 2
      FileItem("C:\\App\\Data\\a.dat", "A"),                     // 3
      PathItem(kItemUninstaller, "C:\\Windows\\kvbuninst.exe"),  // 4
      PathItem(kItemConduit, "KVBS"),                            // 5
      ValueItem(2, "Software\\Kvb", "Path", "A"),                // 6
      FileItem("C:\\App\\dev.cab", "", kItemDeviceFile),         // 7
      PathItem(kItemPlainFile, "C:\\App\\uninst.dat"),           // 8
      PathItem(9, "C:\\unknown"),                                // 9
  };
}

TEST(PlanRemovalTest, CompleteRemovalRunsFourPassesAndSkipsTheUninstaller) {
  EXPECT_EQ(Describe(PlanRemoval(MixedLog(), {true, "", ""})),
            (std::vector<std::string>{"file 2", "file 3", "conduit 5", "file 7", "plain 8",
                                      "folder 1", "folder 0", "value 6", "keys 6 uncounted"}));
}

TEST(PlanRemovalTest, PartialRemovalKeepsPlainFilesConduitsAndUnmatchedItems) {
  EXPECT_EQ(Describe(PlanRemoval(MixedLog(), {false, "A", ""})),
            (std::vector<std::string>{"keep 2", "file 3", "keep 5", "keep 7", "keep 8", "folder 1",
                                      "folder 0", "value 6", "keys 6 uncounted"}));
  EXPECT_EQ(Describe(PlanRemoval(MixedLog(), {false, "B", ""})),
            (std::vector<std::string>{"keep 2", "keep 3", "keep 5", "keep 7", "keep 8", "folder 1",
                                      "folder 0", "keep 6"}));
}

TEST(IsRemovablePathTest, OnlyFullNormalPaths) {
  struct Case {
    const char* path;
    bool ok;
  } cases[] = {
      {"C:\\Program Files\\App\\a.exe", true},
      {"c:/App/a.exe", true},
      {"\\\\server\\share\\App\\a.exe", true},
      {"\\\\server\\share", true},
      {"", false},
      {"a.exe", false},
      {"\\App\\a.exe", false},
      {"C:App\\a.exe", false},
      {"C:\\App\\..\\Windows\\a.exe", false},
      {"C:\\App\\.\\a.exe", false},
      {"C:\\App\\*.exe", false},
      {"\\\\?\\C:\\App\\a.exe", false},
      {"\\\\server", false},
      {"\\\\\\share\\a", false},
      {"C:\\App\\a.exe:stream", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsRemovablePath(c.path), c.ok) << c.path;
}

TEST(ComponentsNotInTest, NamesMissingFromTheOtherList) {
  EXPECT_EQ(ComponentsNotIn("A|B|C", "c|D"), "A|B");
  EXPECT_EQ(ComponentsNotIn("A||A|B", ""), "A|B");
  EXPECT_EQ(ComponentsNotIn("", "A"), "");
}

}  // namespace
}  // namespace kvb
