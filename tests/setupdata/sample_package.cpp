#include "sample_package.h"

#include "setupdata/byte_sink.h"
#include "setupdata/package_writer.h"

namespace kvb::sample {

namespace {

TSetupFile File(const std::string& name, uint8_t mode) {
  return {
      name, "%InstallDir%\\bin\\", mode, 1, 2, "x1", 1, 0, 1, 0, 1, 3, "x2", 1, "Sample Font", {},
      "x3", "Main|Extras",         "",   0};
}

TSetupRegChange RegChange(const std::string& key, uint32_t type) {
  return {2, key, type, "Value", "Data of " + key, 4, 5, "r1", "r2", "Main", "grp"};
}

TFontRecord Font(const std::string& face) {
  return {face, 8, 0x80000008, 1, 1};
}

TScriptStatement Statement(uint32_t code, std::string guard = "") {
  TScriptStatement st;
  st.Code = code;
  const int args = code == 1 || (code & 0xFF) == 0x81 ? 3 : (code & 0xFF) == 11 ? 5 : 0;
  for (int a = 0; a < args; ++a)
    st.Args[a] = "a" + std::to_string(a + 1);
  st.Guard = std::move(guard);
  return st;
}

TScript Script(std::initializer_list<TScriptStatement> statements) {
  TScript s;
  s.Statements = statements;
  s.Count = static_cast<int32_t>(s.Statements.size());
  return s;
}

TSetupLanguage Language(const std::string& name, uint32_t id, uint8_t flag) {
  TSetupLanguage l{name, id, flag, {}};
  for (int i = 0; i < kMessageCount; ++i)
    l.Messages.Texts[i] = name.substr(0, 2) + std::to_string(i);
  l.Messages.LanguageId = static_cast<int32_t>(id);
  return l;
}

TSetupControl Control(uint8_t kind) {
  TSetupControl c;
  c.Kind = kind;
  c.Variable = "%V" + std::to_string(kind) + "%";
  c.Role = kind == 6 ? 4 : 0;
  c.Left = -3;
  c.Top = 10 * kind;
  c.Height = 21;
  c.Width = -1;
  const int stored[] = {0, 3, 4, 5, 6, 5, 6, 6, 4, 1, 0, 3, 0, 2, 0};
  const int count = kind < 15 ? stored[kind] : 0;
  for (int i = 0; i < count; ++i)
    c.Strings[i] = "s" + std::to_string(i + 1);
  c.Script = kind % 2 ? Script({Statement(1, "%V%=1")}) : TScript{};
  return c;
}

void FillProperties(TSetupData& d) {
  TSetupProperties& p = d.Properties;
  p = {"Sample",
       "Comments",
       "Company",
       "%ProgramFiles%\\Sample",
       "Sample Group",
       "wizard.bmp",
       "%SoftwareName% Setup",
       "back.bmp",
       2,
       0x00FF0000,
       0x000000FF,
       1,
       1,
       "splash.bmp",
       Font("Tahoma"),
       "license.txt",
       {},
       "Sample 1.0",
       "1.0",
       "Someone",
       "http://info",
       "http://help",
       "http://update",
       "Main",
       "Main|Extras",
       "Extras"};
  p.DeviceGroup.Folder = "%CE1%\\Sample";
  p.DeviceGroup.CabFiles = "a.cab|b.cab";
  d.InfoByte = 7;
  d.MinimumRequirements = {4, 16, 64};
  d.OsLimits = {{{0x04000000, 0}, {0x0500FFFF, 0}, {0x05010A28, 0x0200}, {0x06000000, 0x0101}}};
}

void FillDialogs(TSetupData& d) {
  TSetupDialog style{"FRAME", "", 360, 480, Font("Arial"), 2, "", {Control(12)}, {}};
  TSetupDialog page{
      "WELCOME", "Welcome to %SoftwareName%", 360, -480, Font("Verdana"), 0, "FRAME", {}, {}};
  for (int kind = 0; kind <= 16; ++kind)
    page.Controls.push_back(Control(static_cast<uint8_t>(kind)));
  page.Controls.push_back(Control(200));
  page.Scripts[kBeforeScript] = Script({Statement(56)});
  page.Scripts[kLeaveScript] = Script({Statement(0x12345681, "%A%<>%B%")});
  page.Scripts[kShownScript].Count = -7;
  d.Dialogs = {style, page};
}

void FillLists(TSetupData& d) {
  d.Variables = {{"%Edition%", RegChange("Software\\Sample", 0), 0},
                 {"%DataDir%", RegChange("Software\\Sample\\Dirs", 0), 1}};
  TSetupBackItem text{0, 1, 2, "%SoftwareName%", Font("Times"), 0x00808080, 1, "", 0, 0, 0};
  TSetupBackItem picture{1, 3, 0, "", {}, 0, 0, "logo.bmp", 0x00FF00FF, 1, 0};
  d.BackItems = {text, picture};
  d.MainArchiveSpan = 60;
  d.MainArchiveScale = 100.0 / 60;
  d.Components = {{{"Main", "The program", "main.bmp"}, 0, 0, 60},
                  {{"Extras", "More", ""}, 123456, 40, 60}};
  d.Conduits = {{"SMPL", 1, "cond.dll", "Sample", "SampleDB", "sample.pdb", "Sample conduit",
                 "info", 2, "mod", 1, "client"}};
  d.Billboards = {"bb1.bmp", "bb2.bmp"};
  d.FileFolders = {"%InstallDir%\\", "%InstallDir%\\bin\\"};
  d.ShortcutFolders = {"%ProgramGroup%\\"};
  d.TempFiles = {{2, 0, 0, 0, File("splash.bmp", 0)}, {3, 0, 0, 0, File("setup.dll", 1)}};
  d.DeviceGroups = {{"Group A", "%CE1%\\A", "desc", "t4", "", 0, "a.cab"},
                    {"Group B", "%CE2%", "", "", "", 0, "b1.cab|b2.cab"}};
  d.DeviceFiles = {{5, 0x00010002, 0x00030004, 0x2B215C00, File("a.cab", 9)},
                   {6, 0, 0, 0, File("b1.cab", 7)}};
  d.DeviceFiles[0].File.Size = 70000;
  d.DeviceFiles[1].File.Size = 12;
  d.Shortcuts = {
      {"Sample", "sample.exe", "/x", "Runs it", 1, "%ProgramGroup%\\", "sample.exe", 2, 1, 0, "e1",
       "e2", "Main", ""},
      {"Uninstall", "UNINSTALLER", "", "", 7, "%ProgramGroup%\\", "", 0, 0, 1, "", "", "", ""}};
  d.RegChanges = {RegChange("Software\\Sample", 0), RegChange("Software\\Sample\\N", 1),
                  RegChange("Software\\Sample\\M", 3)};
  d.Platforms = {{"PPC", "PSPC, PPC2002", 0x0A11, 0, "3.0", "1000.0"},
                 {"HPC", "", 0xFFFF, 0x0001, "2.0", "3.0"}};
}

}  // namespace

TSetupData SampleData() {
  TSetupData d;
  FillProperties(d);
  d.Languages = {Language("English", 1033, 1), Language("Deutsch", 1031, 0)};
  d.StartupOptions = {1, 0, 0, 0, 5, 1, 0};
  FillLists(d);
  d.Scripts[0] = Script({Statement(1, "%A%=1"), Statement(0x181), Statement(113, "g"),
                         Statement(11), Statement(200)});
  d.Scripts[1] = Script({});
  d.Scripts[2].Count = -1;
  d.Scripts[5].Count = -2;
  FillDialogs(d);
  return d;
}

std::string SampleStub() {
  return std::string("MZ\x90\0stand-in image\0", 20);
}

std::string PackageBytes(const TSetupData& data,
                         const std::string& temp_section,
                         const std::string& main_section,
                         bool main_in_volumes) {
  MemorySource stub(SampleStub());
  MemorySource temp(temp_section);
  MemorySource main(main_section);
  TPackageArchives archives;
  archives.TempSection = temp_section.empty() ? nullptr : &temp;
  archives.MainSection = &main;
  archives.MainArchiveInVolumes = main_in_volumes;
  StringSink sink;
  WritePackage(sink, &stub, data, archives);
  return sink.Take();
}

}  // namespace kvb::sample
