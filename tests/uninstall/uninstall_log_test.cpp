// The uninstall log: the writer's bytes read back field by field, the reader on every tag,
// and damaged logs.
#include <gtest/gtest.h>

#include <string>

#include "setupdata/byte_reader.h"
#include "setupdata/byte_writer.h"
#include "setupdata/record_io.h"
#include "setupdata/script_io.h"
#include "setupdata/uninst_item_io.h"
#include "uninstall/uninstall_log.h"

namespace kvb {
namespace {

TUninstItem Item(uint8_t kind, std::string path = {}) {
  TUninstItem item;
  item.Kind = kind;
  item.Path = std::move(path);
  return item;
}

TUninstallLog SampleLog() {
  TUninstallLog log;
  log.SoftwareName = "Sample Suite";
  log.Comments = "Comments";
  log.CompanyName = "Example Company";
  log.KeepDefaultFont = 0;
  log.Option4 = 7;
  log.Font = {"Tahoma", 8, 0x80000008, 1, 1};
  for (int i = 0; i < kUninstallerTextCount; ++i)
    log.Messages[i] = "text " + std::to_string(kUninstallerMessageNumbers[i]);
  log.ConnectionText = "Connecting...";
  TScriptStatement statement;
  statement.Code = 6;  // FILEWRITE: one argument
  statement.Args = {"Bye", "", "", "", ""};
  log.BeforeScript.Count = 1;
  log.BeforeScript.Statements = {statement};
  log.SetupPath = "Z:\\out\\Setup.exe";
  log.IconPath = "C:\\Program Files\\Sample\\Sample Suite.ico";
  log.InstalledComponents = "Program|Documentation";
  log.Platforms = {{"PPC", "HPC, PSPC", 3, 1, "3.0", "1000.0"}};
  log.Variables = {"%InstallDir%=C:\\Program Files\\Sample", "%Empty%="};
  TUninstItem file = Item(kItemFile, "C:\\Program Files\\Sample\\a.dll");
  file.File.SourceName = "sub\\a.dll";
  file.File.DestDir = "%InstallDir%\\";
  file.File.OverwriteMode = 7;
  file.File.ExtraText2 = "x:\\y\\extra.txt";
  file.File.Components = "Program";
  TUninstItem reg = Item(kItemRegistryValue);
  reg.RegChange = {2, "Software\\Example", 1, "Build", "1207", 1, 2, "e1", "e2", "Program", ""};
  log.Items = {Item(kItemFolder, "C:\\Program Files\\Sample"), file, reg,
               Item(kItemPlainFile, "C:\\Program Files\\Sample\\uninst.dat")};
  return log;
}

TUninstallLog ReadBack(const std::string& bytes) {
  MemorySource source(bytes);
  return ReadUninstallLog(source);
}

TEST(UninstallLogTest, WriterLaysOutEveryFieldInOrder) {
  const TUninstallLog log = SampleLog();
  MemorySource source(WriteUninstallLog(log));
  ByteReader in(source);
  EXPECT_EQ(in.Bytes(4), "hUNS");
  EXPECT_EQ(in.ZStr(), "Sample Suite");
  EXPECT_EQ(in.ZStr(), "Comments");
  EXPECT_EQ(in.ZStr(), "Example Company");
  EXPECT_EQ(in.U8(), 0);
  EXPECT_EQ(in.U8(), 7);
  EXPECT_EQ(ReadFont(in), log.Font);
  for (int i = 0; i < kUninstallerTextCount; ++i)
    EXPECT_EQ(in.ZStr(), log.Messages[i]);
  EXPECT_EQ(in.ZStr(), "Connecting...");
  EXPECT_EQ(ReadScript(in, TextForm::kScrambled), log.BeforeScript);
  EXPECT_EQ(in.I32(), -1);  // an absent after-uninstall script
  EXPECT_EQ(in.ZStr(), log.SetupPath);
  EXPECT_EQ(in.ZStr(), log.IconPath);
  EXPECT_EQ(in.ZStr(), "Program|Documentation");
  EXPECT_EQ(in.I32(), 1);
  EXPECT_EQ(ReadPlatform(in), log.Platforms[0]);
  EXPECT_EQ(in.I32(), 2);
  EXPECT_EQ(in.ZStr(), log.Variables[0]);
  EXPECT_EQ(in.ZStr(), "%Empty%=");
  EXPECT_EQ(in.I32(), 4);
  EXPECT_EQ(in.U8(), kItemFolder);
  EXPECT_EQ(in.ZStr(), "C:\\Program Files\\Sample");
  // A file item: its path, then the record as the log keeps it.
  EXPECT_EQ(in.U8(), kItemFile);
  EXPECT_EQ(in.ZStr(), "C:\\Program Files\\Sample\\a.dll");
  const TSetupFile file = ReadSetupFile(in);
  EXPECT_EQ(file.SourceName, "a.dll");
  EXPECT_EQ(file.OverwriteMode, 8);
  EXPECT_EQ(file.SharedFile, 1);
  EXPECT_EQ(file.ExtraText2, "extra.txt");
  EXPECT_EQ(file.Components, "Program");
  // A registry item has no path.
  EXPECT_EQ(in.U8(), kItemRegistryValue);
  EXPECT_EQ(ReadRegChange(in), log.Items[2].RegChange);
  EXPECT_EQ(in.U8(), kItemPlainFile);
  EXPECT_EQ(in.ZStr(), "C:\\Program Files\\Sample\\uninst.dat");
  EXPECT_EQ(in.Remaining(), 0u);
}

TEST(UninstallLogTest, ReadsBackWhatWasWritten) {
  TUninstallLog expected = SampleLog();
  expected.Items[1].File = LogFileRecord(expected.Items[1].File);
  EXPECT_EQ(ReadBack(WriteUninstallLog(SampleLog())), expected);
  // Writing what was read gives the same bytes.
  const std::string bytes = WriteUninstallLog(SampleLog());
  EXPECT_EQ(WriteUninstallLog(ReadBack(bytes)), bytes);
}

// A log in the layout of an older tag: fewer texts, records without their second flag.
std::string OldLog(std::string_view tag, int texts) {
  ByteWriter out;
  out.Bytes(tag);
  for (const char* s : {"App", "", "Co"})
    out.ZStr(s);
  out.U8(1);
  out.U8(0);
  WriteFont(out, {"Arial", 9, 0, 0, 1});
  for (int i = 0; i < texts; ++i)
    out.ZStr("t" + std::to_string(i));
  out.ZStr("connect");
  out.I32(-1);
  out.I32(-1);
  for (const char* s : {"setup.exe", "", "A"})
    out.ZStr(s);
  out.I32(0);
  out.I32(0);
  out.I32(2);
  TUninstItem file = Item(kItemFile, "C:\\x.txt");
  file.File.SourceName = "x.txt";
  file.File.ExtraFlag2 = 0;
  WriteUninstItem(out, file, StreamForm::kOld);
  TUninstItem reg = Item(kItemRegistryValue);
  reg.RegChange.Key = "Software\\App";
  reg.RegChange.ValueName = "V";
  WriteUninstItem(out, reg, StreamForm::kOld);
  return out.Take();
}

TEST(UninstallLogTest, OlderTagsGetTheEnglishDefaultsForTheirMissingTexts) {
  const TUninstallLog e = ReadBack(OldLog("eUNS", 24));
  EXPECT_EQ(e.Messages[23], "t23");
  EXPECT_EQ(e.Messages[24], "Yes");
  EXPECT_EQ(e.Messages[25], "Yes To All");
  EXPECT_EQ(e.Messages[26], "No");
  EXPECT_EQ(e.Messages[27], "No To All");
  EXPECT_EQ(e.Messages[28], "Existent File");
  EXPECT_EQ(e.Messages[29], "Destination File");
  EXPECT_EQ(e.ConnectionText, "connect");
  ASSERT_EQ(e.Items.size(), 2u);
  EXPECT_EQ(e.Items[0].Path, "C:\\x.txt");
  EXPECT_EQ(e.Items[1].RegChange.ValueName, "V");

  const TUninstallLog f = ReadBack(OldLog("fUNS", 28));
  EXPECT_EQ(f.Messages[27], "t27");
  EXPECT_EQ(f.Messages[28], "Existent File");
  const TUninstallLog g = ReadBack(OldLog("gUNS", 30));
  EXPECT_EQ(g.Messages[29], "t29");
  EXPECT_EQ(g.Items[1].RegChange.Key, "Software\\App");
}

TEST(UninstallLogTest, UnknownTagsAndDamagedLogsAreRejected) {
  std::string bytes = WriteUninstallLog(SampleLog());
  EXPECT_THROW(ReadBack("iUNS" + bytes.substr(4)), UnknownLogTag);
  EXPECT_THROW(ReadBack("hUN"), FormatError);
  // Cut short inside the items.
  EXPECT_THROW(ReadBack(bytes.substr(0, bytes.size() - 40)), FormatError);
  // An item count far beyond the bytes left.
  const std::string log = WriteUninstallLog(TUninstallLog{});
  std::string huge = log.substr(0, log.size() - 4) + std::string("\xff\xff\xff\x7f", 4);
  EXPECT_THROW(ReadBack(huge), FormatError);
  std::string negative = log.substr(0, log.size() - 4) + std::string("\xff\xff\xff\xff", 4);
  EXPECT_THROW(ReadBack(negative), FormatError);
}

}  // namespace
}  // namespace kvb
