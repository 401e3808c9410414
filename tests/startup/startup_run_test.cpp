// The start-up sequence from the package to the start-up script, with a fake host: the
// order of the steps, the loader and splash, the temporary files and the clean-up.
#include <gtest/gtest.h>

#include "startup/exit_codes.h"
#include "startup/fake_startup_host.h"
#include "startup/startup_sequence.h"
#include "startup/test_package.h"

namespace kvb::test {
namespace {

using Lines = std::vector<std::string>;

TestPackage SplashPackage() {
  TestPackage package;
  package.data.Properties.SplashBitmap = "SPLASH.BMP";
  package.temp_files = {{"splash.bmp", kBitmapBytes}, {"readme.txt", "read me"}};
  package.data.Scripts[0] = Script({Statement(
      "MESSAGE", {"%SoftwareName%", "%TempSetupDir%|%InstallDir%|%ProgramGroup%|%CanClose%"})});
  return package;
}

TEST(StartupRunTest, StepsRunInOrderAndTheRunEndsClean) {
  FakeStartupHost host(SplashPackage().Bytes());
  TSetupStartup startup(host);
  EXPECT_EQ(startup.Run(), kExitNormal);
  const Lines expected = {
      "title Kalvenbrooker Setup",
      "folder C:\\Temp\\kvb001",
      "title Demo Setup",
      "loader 692,610",  // bottom right of 1024 x 768: a splash is named
      "write C:\\Temp\\kvb001\\splash.bmp",
      "splash C:\\Temp\\kvb001\\SPLASH.BMP|Demo Setup",
      "wait 500",
      "title Demo Setup",
      "write C:\\Temp\\kvb001\\readme.txt",
      "splash closed",
      "loader closed",
      "script-message Demo|C:\\Temp\\kvb001|C:\\Program Files\\Demo||0",
      "main form C:\\Temp\\kvb001",
      "delete C:\\Temp\\kvb001\\splash.bmp",
      "delete C:\\Temp\\kvb001\\readme.txt",
      "remove-tree C:\\Temp\\kvb001",
  };
  EXPECT_EQ(host.log, expected);
  EXPECT_TRUE(host.files.empty());
  EXPECT_EQ(host.folders, PathSet{"C:\\Temp"});
  EXPECT_TRUE(startup.Globals().TempFileList.empty());
  EXPECT_TRUE(startup.Globals().Data.TempFiles.empty()) << "records released";
}

TEST(StartupRunTest, LoaderShowsThePackageTexts) {
  TestPackage package;
  package.data.Properties.SoftwareName = "Tom & Jerry";
  package.data.Properties.CompanyName = "A&B";
  FakeStartupHost host(package.Bytes());
  TSetupStartup startup(host);
  ASSERT_EQ(startup.Run(), kExitNormal);
  ASSERT_TRUE(host.loader);
  EXPECT_EQ(host.loader->Caption, "Tom & Jerry Setup");
  // Both lines mark '&' as a mnemonic: the names' ampersands are doubled.
  EXPECT_EQ(host.loader->Title, "Tom && Jerry Setup");
  EXPECT_EQ(host.loader->Message, "A&&B Tom && Jerry Setup is starting, please wait...");
  EXPECT_EQ(host.loader->Font, (TFontRecord{"Tahoma", 8, 0x00FFFFFF, 1, 238}));
}

struct PlacementCase {
  const char* name;
  std::string splash_name;          // the package's splash bitmap
  std::vector<TempFileSpec> files;  // the temporary files
  bool keep_default_font;
  int left, top;
  bool splash_shown;
};

TEST(StartupRunTest, LoaderPlacementAndSplash) {
  const PlacementCase cases[] = {
      {"no splash: centred", "", {{"a.txt", "a"}}, false, 362, 329, false},
      {"splash shown", "splash.bmp", {{"splash.bmp", kBitmapBytes}}, false, 692, 610, true},
      {"splash not among the files", "splash.bmp", {{"a.txt", "a"}}, false, 692, 610, false},
      {"splash is no bitmap", "splash.bmp", {{"splash.bmp", "text"}}, true, 692, 610, false},
  };
  for (const PlacementCase& c : cases) {
    SCOPED_TRACE(c.name);
    TestPackage package;
    package.data.Properties.SplashBitmap = c.splash_name;
    package.data.StartupOptions[kKeepDefaultFont] = c.keep_default_font;
    package.temp_files = c.files;
    FakeStartupHost host(package.Bytes());
    TSetupStartup startup(host);
    ASSERT_EQ(startup.Run(), kExitNormal);
    ASSERT_TRUE(host.loader);
    EXPECT_EQ(host.loader->Left, c.left);
    EXPECT_EQ(host.loader->Top, c.top);
    EXPECT_EQ(host.LogLines("splash ").size(), c.splash_shown ? 2u : 0u);
    EXPECT_EQ(host.LogLines("wait ").size(), c.splash_shown ? 1u : 0u);
    // The default font keeps the system's face and character set, still white bold 8.
    const TFontRecord expected_font = c.keep_default_font
                                          ? TFontRecord{"", 8, 0xFFFFFF, 1, 1}
                                          : TFontRecord{"Tahoma", 8, 0xFFFFFF, 1, 238};
    EXPECT_EQ(host.loader->Font, expected_font);
    EXPECT_TRUE(host.files.empty());
  }
}

TEST(StartupRunTest, TemporaryFilesOutsideTheFolderAreDeletedToo) {
  TestPackage package;
  package.temp_files = {{"tool.dll", "MZ", "C:\\Tools\\"},
                        {"note.txt", "n", "%TempSetupDir%\\sub\\"}};
  // What the start-up script leaves in the folder goes with it.
  FakeStartupHost host(package.Bytes());
  TSetupStartup startup(host);
  ASSERT_EQ(startup.Run(), kExitNormal);
  const Lines writes = {"write C:\\Tools\\tool.dll", "write C:\\Temp\\kvb001\\sub\\note.txt"};
  EXPECT_EQ(host.LogLines("write "), writes);
  EXPECT_TRUE(host.files.empty());
  EXPECT_EQ(host.folders, (PathSet{"C:\\Temp", "C:\\Tools"}));
}

TEST(StartupRunTest, LanguagesChooseTheMessagesAndLanguage) {
  TestPackage package;
  TSetupLanguage english{"English", 1033, 0, package.data.LanguageLessMessages};
  TSetupLanguage german{"Deutsch", 1031, 1, package.data.LanguageLessMessages};
  german.Messages.Texts[kMessageStarting] = "%SoftwareName% startet...";
  package.data.Languages = {english, german};
  package.data.Scripts[0] = Script({Statement("MESSAGE", {"", "%Language%"})});
  FakeStartupHost host(package.Bytes());
  TSetupStartup startup(host);
  ASSERT_EQ(startup.Run(), kExitNormal);
  EXPECT_EQ(host.loader->Message, "Demo startet...");
  EXPECT_EQ(host.LogLines("script-message"), Lines{"script-message |Deutsch"});
}

TEST(StartupRunTest, PackageVariablesComeFromTheRegistryBeforeScriptsClearThem) {
  TestPackage package;
  TSetupVariable from_registry{"Dir", {}, 1};
  from_registry.Source.Root = 1;
  from_registry.Source.Key = "\\Software\\Acme\\";
  from_registry.Source.ValueName = "Dir";
  from_registry.Source.Data = "C:\\Default\\";
  TSetupVariable written{"%Flag%", {}, 0};
  written.Source.Data = "set by the package";
  package.data.Variables = {from_registry, written};
  package.data.Scripts[0] =
      Script({Statement("MESSAGE", {"%Dir%", "[%Flag%]"}), Statement("SET", {"%Flag%", "1"})});
  FakeStartupHost host(package.Bytes());
  host.registry["1|Software\\Acme|Dir"] = "D:\\Data\\";
  TSetupStartup startup(host);
  ASSERT_EQ(startup.Run(), kExitNormal);
  // The directory flag took the backslash off; a variable a script writes starts empty.
  EXPECT_EQ(host.LogLines("script-message"), Lines{"script-message D:\\Data|[]"});
}

struct ScriptCase {
  const char* name;
  std::vector<TScriptStatement> statements;
  int exit_code;
  Lines messages;
};

TEST(StartupRunTest, HotSyncGivesTheDefaultUserAndItsFolder) {
  TestPackage package;
  package.data.Scripts[0] =
      Script({Statement("MESSAGE", {"x", "%HotSyncUser%|%HotSyncDir%|%IsHotSyncInstalled%"})});
  for (bool present : {true, false}) {
    FakeStartupHost host(package.Bytes());
    host.hotsync = present;
    host.hotsync_user = present ? "Anne" : "";
    host.machine.folders[MachineFolder::kWindows] = "C:\\Windows";
    TSetupStartup startup(host);
    ASSERT_EQ(startup.Run(), kExitNormal);
    const Lines messages = host.LogLines("script-message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              present ? "script-message x|Anne|C:\\Palm|1" : "script-message x||C:\\Windows|0");
  }
}

TEST(StartupRunTest, StartupScriptDecidesTheExitCode) {
  const ScriptCase cases[] = {
      {"absent script", {}, kExitNormal, {}},
      {"EXIT goes on", {Statement("EXIT"), Statement("MESSAGE", {"", "x"})}, kExitNormal, {}},
      {"CANCEL stops",
       {Statement("MESSAGE", {"", "a"}), Statement("CANCEL"), Statement("MESSAGE", {"", "b"})},
       kExitStoppedByScript,
       {"script-message |a"}},
      {"FINISH stops", {Statement("FINISH")}, kExitStoppedByScript, {}},
  };
  for (const ScriptCase& c : cases) {
    SCOPED_TRACE(c.name);
    TestPackage package;
    package.temp_files = {{"a.txt", "a"}};
    if (!c.statements.empty())
      package.data.Scripts[0] = Script(c.statements);
    FakeStartupHost host(package.Bytes());
    TSetupStartup startup(host);
    EXPECT_EQ(startup.Run(), c.exit_code);
    EXPECT_EQ(host.LogLines("script-message"), c.messages);
    EXPECT_TRUE(host.LogLines("message").empty());
    EXPECT_TRUE(host.files.empty());
    EXPECT_EQ(host.LogLines("remove-tree"), Lines{"remove-tree C:\\Temp\\kvb001"});
  }
}

TEST(StartupRunTest, MainFormRunsAfterTheScriptAndGivesTheExitCode) {
  struct Case {
    const char* name;
    std::vector<TScriptStatement> statements;
    MainFormEnd end;
    int exit_code;
    bool form_runs;
  };
  const Case cases[] = {
      {"finished", {}, MainFormEnd::kFinished, kExitNormal, true},
      {"cancelled by the user", {}, MainFormEnd::kCancelled, kExitCancelledByUser, true},
      {"failed requirement", {}, MainFormEnd::kFailed, kExitWizardFailed, true},
      {"script stops first",
       {Statement("CANCEL")},
       MainFormEnd::kFinished,
       kExitStoppedByScript,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestPackage package;
    package.temp_files = {{"a.txt", "a"}};
    if (!c.statements.empty())
      package.data.Scripts[0] = Script(c.statements);
    FakeStartupHost host(package.Bytes());
    host.main_form_end = c.end;
    TSetupStartup startup(host);
    EXPECT_EQ(startup.Run(), c.exit_code);
    EXPECT_EQ(host.LogLines("main form").size(), c.form_runs ? 1u : 0u);
    EXPECT_TRUE(host.files.empty());
  }
}

// The background window draws the package's items: they must be in the records by the
// time it is made, and only a package that shows the window needs them read.
TEST(StartupRunTest, BackgroundItemsAreReadForTheBackgroundWindowOnly) {
  TSetupBackItem title;
  title.Caption = "%SoftwareName% Setup";
  TSetupBackItem logo;
  logo.Kind = 1;
  logo.Flag1 = 1;
  logo.Flag2 = 7;
  logo.PictureFile = "logo.bmp";
  for (const uint8_t use_back_window : {1, 0}) {
    SCOPED_TRACE(use_back_window);
    TestPackage package;
    package.data.StartupOptions[kUseBackWindow] = use_back_window;
    package.data.BackItems = {title, logo};
    FakeStartupHost host(package.Bytes());
    TSetupStartup startup(host);
    ASSERT_EQ(startup.Run(), kExitNormal);
    ASSERT_EQ(host.LogLines("main form").size(), 1u);
    if (use_back_window)
      EXPECT_EQ(host.main_form_back_items, package.data.BackItems);
    else
      EXPECT_TRUE(host.main_form_back_items.empty());
  }
}

}  // namespace
}  // namespace kvb::test
