// Registry, files, processes, windows and shortcuts through the recorded machine.
#include <gtest/gtest.h>

#include "script_fakes.h"

namespace kvb {
namespace {

constexpr uint32_t kHKCR = 0x80000000, kHKCU = 0x80000001, kHKLM = 0x80000002;

TEST(RegistryCommandsTest, ReadTypesAndDefaults) {
  ScriptHarness h;
  h.registry->values[{kHKCU, "Software\\A", "Str"}] = {kRegString, "text", 0};
  h.registry->values[{kHKCU, "Software\\A", "Num"}] = {kRegDword, "", 0xFFFFFFFE};
  h.registry->values[{kHKCU, "Software\\A", "Exp"}] = {2, "", 0};  // REG_EXPAND_SZ
  struct Case {
    const char* key;
    const char* name;
    const char* expected;
  } cases[] = {
      {"Software\\A", "Str", "text"},    {"\\Software\\A\\", "Num", "-2"},
      {"Software\\A", "Exp", "default"}, {"Software\\A", "Missing", "default"},
      {"Software\\B", "Str", "default"},
  };
  for (const Case& c : cases) {
    h.Execute({{"READREG", {"%R%", "HKEY_CURRENT_USER", c.key, c.name, "default"}}});
    EXPECT_EQ(h.Value("%R%"), c.expected) << c.key << " " << c.name;
  }
}

TEST(RegistryCommandsTest, WriteTypesAndThePersistingRoot) {
  ScriptHarness h;
  h.Execute({{"WRITEREG", {"HKEY_LOCAL_MACHINE", "K", "Dword", "12"}},
             {"WRITEREG", {"whatever", "K", "Text", "12a"}},
             {"WRITEREG", {"", "K", "Empty", ""}},
             {"WRITEREG", {"hkey_classes_root", "K", "Minus", "-5"}},
             {"READREG", {"%R%", "", "K", "Dword", "none"}},
             {"WRITEREG", {"HKEY_CLASSES_ROOT", "K", "Root", "x"}}});
  auto value = [&](uint32_t root, const char* name) {
    return h.registry->values[FakeRegistry::Key{root, "K", name}];
  };
  EXPECT_EQ(value(kHKLM, "Dword").Type, kRegDword);
  EXPECT_EQ(value(kHKLM, "Dword").Number, 12u);
  EXPECT_EQ(value(kHKLM, "Text").Type, kRegString);
  EXPECT_EQ(value(kHKLM, "Text").Text, "12a");
  EXPECT_EQ(value(kHKLM, "Empty").Type, kRegString);  // empty data is an empty text
  EXPECT_EQ(value(kHKLM, "Minus").Text, "-5");        // keywords are exact case
  EXPECT_EQ(h.Value("%R%"), "12");
  EXPECT_EQ(value(kHKCR, "Root").Text, "x");
}

TEST(RegistryCommandsTest, DeleteValueOrKeyAndIsInstalled) {
  ScriptHarness h;
  h.registry->values[{kHKCU, "K", "V"}] = {kRegString, "x", 0};
  h.registry->values[{kHKLM, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Co Product",
                      "DisplayVersion"}] = {kRegString, "1.0", 0};
  h.Execute({{"DELETEREG", {"HKEY_CURRENT_USER", "K", "V"}},
             {"DELETEREG", {"", "\\K\\Sub\\", ""}},
             {"ISINSTALLED", {"%Yes%", "Product", "Co"}},
             {"ISINSTALLED", {"%No%", "Other", "Co"}}});
  EXPECT_EQ(h.registry->values.count({kHKCU, "K", "V"}), 0u);
  EXPECT_EQ(h.registry->log, (Log{"DeleteKey(2147483649, K\\Sub)"}));
  EXPECT_EQ(h.Value("%Yes%"), "1");
  EXPECT_EQ(h.Value("%No%"), "0");
}

TEST(SystemCommandsTest, FileInfoKinds) {
  ScriptHarness h;
  h.system->exists = true;
  h.system->size = 4096;
  h.system->version = std::array<uint16_t, 4>{1, 2, 30, 400};
  struct Case {
    const char* file;
    const char* kind;
    const char* expected;
  } cases[] = {
      {"C:\\Dir\\Sub\\file.tar.gz", "NAME", "file.tar.gz"},
      {"C:\\Dir\\Sub\\file.tar.gz", "path", "C:\\Dir\\Sub"},
      {"C:\\Dir\\file", "DRIVE", "C:"},
      {"\\\\server\\share\\dir\\f", "DRIVE", "\\\\server\\share"},
      {"dir\\f", "DRIVE", ""},
      {"C:\\Dir\\file.txt", "Extension", ".txt"},
      {"C:\\Dir\\file", "EXTENSION", ""},
      {"x", "EXISTENCE", "1"},
      {"x", "SIZE", "4096"},
      {"x", "VERSION", "1.2.30.400"},
      {"x", "OWNER", ""},
  };
  for (const Case& c : cases) {
    h.Execute({{"FILEINFO", {"%R%", c.file, c.kind}}});
    EXPECT_EQ(h.Value("%R%"), c.expected) << c.file << " " << c.kind;
  }
  h.system->exists = false;
  h.system->size.reset();
  h.system->version.reset();
  h.Execute({{"FILEINFO", {"%E%", "x", "EXISTENCE"}},
             {"FILEINFO", {"%S%", "x", "SIZE"}},
             {"FILEINFO", {"%V%", "x", "VERSION"}}});
  EXPECT_EQ(h.Value("%E%|%S%|%V%"), "0|0|0.0.0.0");
}

TEST(SystemCommandsTest, ActionsReachTheMachine) {
  ScriptHarness h;
  h.vars.SetVariable("%App%", "C:\\App");
  h.Execute({{"OPEN", {"%App%\\readme.txt"}},
             {"RUN", {"%App%\\tool.exe", "-x %App%", "1"}},
             {"RUN", {"%App%\\tool.exe", "", "yes"}},
             {"DELETEFILE", {"%App%\\a"}},
             {"COPYFILE", {"%App%\\a", "%App%\\b"}},
             {"MAKEFOLDER", {"%App%\\New\\"}},
             {"REMOVEFOLDER", {"%App%\\Old"}},
             {"SHORTCUT", {"%App%", "Tool", "%App%\\tool.exe", "-y", ""}},
             {"DELETESHORTCUT", {"%App%\\", "Tool"}},
             {"FILESEARCH", {"%F%", "*.txt", "%App%\\"}},
             {"FILESEARCH", {"%F%", "*.log", "%App%\\setup"}},  // a name prefix
             {"FILESEARCH", {"%F%", "a.txt", ""}},
             {"WINDOWEXISTS", {"%W%", "Notepad", ""}},
             {"WINDOWEXISTS", {"%W%", "", ""}},
             {"CLOSEWINDOW", {"", "Title", "1"}},
             {"CLOSEWINDOW", {"Cls", "", "0"}},
             {"CLOSEWINDOW", {"", "", "0"}}});
  EXPECT_EQ(h.log, (Log{
                       "Open(C:\\App\\readme.txt)",
                       "Run(C:\\App\\tool.exe, -x C:\\App, wait)",
                       "Run(C:\\App\\tool.exe, , nowait)",
                       "Delete(C:\\App\\a)",
                       "Copy(C:\\App\\a, C:\\App\\b)",
                       "MakeFolder(C:\\App\\New)",
                       "RemoveFolder(C:\\App\\Old)",
                       "Shortcut(C:\\App\\Tool.lnk, C:\\App\\tool.exe, -y, )",
                       "Delete(C:\\App\\Tool.lnk)",
                       "Find(C:\\App\\*.txt)",
                       "Find(C:\\App\\setup*.log)",
                       "Find(a.txt)",
                       "FindWindow(Notepad, )",
                       "CloseWindow(, Title, quit)",
                       "CloseWindow(Cls, , close)",
                   }));
  EXPECT_EQ(h.Value("%W%"), "0");
}

}  // namespace
}  // namespace kvb
