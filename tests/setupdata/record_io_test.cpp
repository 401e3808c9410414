#include "setupdata/record_io.h"

#include <gtest/gtest.h>

#include "setupdata/uninst_item_io.h"

namespace kvb {
namespace {

TSetupFile NamedFile(const std::string& name) {
  TSetupFile f;
  f.SourceName = name;
  return f;
}

// Reads a record from `bytes`, checks that it used them all, and that writing it back
// gives the same bytes.
template <typename Record, typename Read, typename Write>
Record ReadExactly(const std::string& bytes, Read read, Write write) {
  MemorySource source(bytes);
  ByteReader in(source);
  Record record = read(in);
  EXPECT_EQ(in.Remaining(), 0u);
  ByteWriter out;
  write(out, record);
  EXPECT_EQ(out.Data(), bytes);
  return record;
}

TEST(RecordIoTest, FileRecordInBothForms) {
  for (StreamForm form : {StreamForm::kCurrent, StreamForm::kOld}) {
    ByteWriter w;
    w.ZStr("src.dll");
    w.ZStr("%InstallDir%\\");
    w.U8(7);
    w.U8(1);
    if (form == StreamForm::kCurrent)
      w.U8(9);
    w.ZStr("t1");
    for (uint8_t flag = 11; flag <= 16; ++flag)
      w.U8(flag);
    w.ZStr("t2");
    w.U8(17);
    w.ZStr("Font");
    w.ZStr("t3");
    w.ZStr("Main");
    w.ZStr("grp");
    const TSetupFile f = ReadExactly<TSetupFile>(
        w.Data(), [form](ByteReader& in) { return ReadSetupFile(in, form); },
        [form](ByteWriter& out, const TSetupFile& r) { WriteSetupFile(out, r, form); });
    EXPECT_EQ(f.SourceName, "src.dll");
    EXPECT_EQ(f.DestDir, "%InstallDir%\\");
    EXPECT_EQ(f.OverwriteMode, 7);
    EXPECT_EQ(f.ExtraFlag1, 1);
    EXPECT_EQ(f.ExtraFlag2, form == StreamForm::kCurrent ? 9 : 0);
    EXPECT_EQ(f.ExtraText1, "t1");
    EXPECT_EQ((std::array<uint8_t, 6>{f.SharedFile, f.SelfRegister, f.TypeLibrary, f.PalmFile,
                                      f.ActiveX, f.ExtraFlag3}),
              (std::array<uint8_t, 6>{11, 12, 13, 14, 15, 16}));
    EXPECT_EQ(f.ExtraText2, "t2");
    EXPECT_EQ(f.FontFlag, 17);
    EXPECT_EQ(f.FontName, "Font");
    EXPECT_EQ(f.ExtraText3, "t3");
    EXPECT_EQ(f.Components, "Main");
    EXPECT_EQ(f.Group, "grp");
    EXPECT_EQ(f.Size, 0u);
  }
}

TEST(RecordIoTest, ShortcutInBothForms) {
  for (StreamForm form : {StreamForm::kCurrent, StreamForm::kOld}) {
    ByteWriter w;
    for (const char* text : {"name", "target", "args", "desc"})
      w.ZStr(text);
    w.U32(3);
    w.ZStr("folder");
    w.ZStr("icon");
    w.U32(4);
    w.U8(5);
    if (form == StreamForm::kCurrent)
      w.U8(6);
    for (const char* text : {"e1", "e2", "comp", "grp"})
      w.ZStr(text);
    const TSetupShortcut s = ReadExactly<TSetupShortcut>(
        w.Data(), [form](ByteReader& in) { return ReadShortcut(in, form); },
        [form](ByteWriter& out, const TSetupShortcut& r) { WriteShortcut(out, r, form); });
    const TSetupShortcut expected{
        "name",   "target", "args", "desc", 3,
        "folder", "icon",   4,      5,      form == StreamForm::kCurrent ? uint8_t{6} : uint8_t{0},
        "e1",     "e2",     "comp", "grp"};
    EXPECT_EQ(s, expected);
  }
}

TEST(RecordIoTest, RegChangeInBothForms) {
  for (StreamForm form : {StreamForm::kCurrent, StreamForm::kOld}) {
    ByteWriter w;
    w.U8(2);
    w.ZStr("key");
    w.U32(3);
    w.ZStr("name");
    w.ZStr("data");
    w.U8(4);
    if (form == StreamForm::kCurrent)
      w.U8(5);
    for (const char* text : {"e1", "e2", "comp", "grp"})
      w.ZStr(text);
    const TSetupRegChange r = ReadExactly<TSetupRegChange>(
        w.Data(), [form](ByteReader& in) { return ReadRegChange(in, form); },
        [form](ByteWriter& out, const TSetupRegChange& c) { WriteRegChange(out, c, form); });
    const TSetupRegChange expected{2,
                                   "key",
                                   3,
                                   "name",
                                   "data",
                                   4,
                                   form == StreamForm::kCurrent ? uint8_t{5} : uint8_t{0},
                                   "e1",
                                   "e2",
                                   "comp",
                                   "grp"};
    EXPECT_EQ(r, expected);
  }
}

// A text item stores caption, font and shadow; a picture item only its picture fields.
TEST(RecordIoTest, BackItemKindsAndForms) {
  for (StreamForm form : {StreamForm::kCurrent, StreamForm::kOld}) {
    const uint8_t flag2 = form == StreamForm::kCurrent ? 3 : 0;
    ByteWriter text;
    text.U8(0);
    text.U8(2);
    if (flag2)
      text.U8(flag2);
    text.ZStr("caption");
    WriteFont(text, {"Arial", 12, 0x80000005, 3, 1});
    text.U32(0x123456);
    text.U8(1);
    ByteWriter picture;
    picture.U8(4);
    picture.U8(1);
    if (flag2)
      picture.U8(flag2);
    picture.ZStr("logo.bmp");
    picture.U32(0xFF00FF);
    picture.U8(1);
    auto read = [form](ByteReader& in) { return ReadBackItem(in, form); };
    auto write = [form](ByteWriter& out, const TSetupBackItem& b) { WriteBackItem(out, b, form); };
    EXPECT_EQ(
        ReadExactly<TSetupBackItem>(text.Data(), read, write),
        (TSetupBackItem{
            0, 2, flag2, "caption", {"Arial", 12, 0x80000005, 3, 1}, 0x123456, 1, "", 0, 0, 0}));
    EXPECT_EQ(ReadExactly<TSetupBackItem>(picture.Data(), read, write),
              (TSetupBackItem{4, 1, flag2, "", {}, 0, 0, "logo.bmp", 0xFF00FF, 1, 0}));
  }
}

TEST(RecordIoTest, FontFaceIsCutAndTheRestFollows) {
  ByteWriter w;
  w.ZStr(std::string(1500, 'F'));
  w.U32(10);
  w.U32(0x80000008);
  w.U8(5);
  w.U8(2);
  w.U8(0xEE);
  MemorySource source(w.Take());
  ByteReader in(source);
  const TFontRecord font = ReadFont(in);
  EXPECT_EQ(font, (TFontRecord{std::string(1000, 'F'), 10, 0x80000008, 5, 2}));
  EXPECT_EQ(in.U8(), 0xEE);
}

TEST(RecordIoTest, DeviceFileSizeComesFromItsHeader) {
  ByteWriter w;
  for (uint32_t v : {7u, 1u, 2u, 3u, 4096u})
    w.U32(v);
  WriteSetupFile(w, NamedFile("a.cab"));
  const TSetupInstallerFile device =
      ReadExactly<TSetupInstallerFile>(w.Data(), ReadDeviceFile, WriteDeviceFile);
  EXPECT_EQ(device.EntryIndex, 7u);
  EXPECT_EQ(device.VersionHigh, 1u);
  EXPECT_EQ(device.VersionLow, 2u);
  EXPECT_EQ(device.FileDate, 3u);
  EXPECT_EQ(device.File.Size, 4096u);
  EXPECT_EQ(device.File.SourceName, "a.cab");

  ByteWriter t;
  t.U32(9);
  WriteSetupFile(t, NamedFile("b.bmp"));
  const TSetupInstallerFile temp =
      ReadExactly<TSetupInstallerFile>(t.Data(), ReadTempFile, WriteTempFile);
  EXPECT_EQ(temp.EntryIndex, 9u);
  EXPECT_EQ(temp.File.Size, 0u);
  EXPECT_EQ(temp.File.SourceName, "b.bmp");
}

TEST(RecordIoTest, RecordsEndingEarlyAreReported) {
  ByteWriter w;
  WriteSetupFile(w, NamedFile("a"));
  const std::string bytes = w.Take();
  for (size_t cut = 0; cut + 8 < bytes.size(); ++cut) {
    MemorySource source(bytes.substr(0, cut));
    ByteReader in(source);
    EXPECT_THROW(ReadSetupFile(in), FormatError) << "cut at " << cut;
  }
}

struct ItemCase {
  uint8_t kind;
  bool path;
  bool file;
  bool reg;
};

TEST(UninstItemIoTest, EveryKindStoresItsFields) {
  const ItemCase cases[] = {
      {0, true, true, false},  {1, true, true, false},   {2, true, false, false},
      {3, true, false, false}, {4, true, false, false},  {5, false, false, true},
      {6, true, false, false}, {7, false, false, false}, {255, false, false, false}};
  TSetupFile file = NamedFile("f.dll");
  file.DestDir = "d\\";
  file.ExtraFlag2 = 4;
  const TSetupRegChange reg{1, "k", 0, "", "", 0, 6, "", "", "", "g"};
  for (const ItemCase& c : cases) {
    for (StreamForm form : {StreamForm::kCurrent, StreamForm::kOld}) {
      TUninstItem item{c.kind, c.path ? "C:\\p" : "", c.file ? file : TSetupFile{},
                       c.reg ? reg : TSetupRegChange{}};
      ByteWriter expected;
      expected.U8(c.kind);
      if (c.path)
        expected.ZStr("C:\\p");
      if (c.file)
        WriteSetupFile(expected, file, form);
      if (c.reg)
        WriteRegChange(expected, reg, form);
      const TUninstItem read = ReadExactly<TUninstItem>(
          expected.Data(), [form](ByteReader& in) { return ReadUninstItem(in, form); },
          [form](ByteWriter& out, const TUninstItem& i) { WriteUninstItem(out, i, form); });
      if (form == StreamForm::kOld) {
        item.File.ExtraFlag2 = 0;
        item.RegChange.ExtraFlag2 = 0;
      }
      EXPECT_EQ(read, item) << "kind " << int(c.kind);
    }
  }
}

TEST(UninstItemIoTest, LogFileRecordRules) {
  struct Case {
    std::string source, text2;
    uint8_t mode, shared;
    std::string want_source, want_text2;
    uint8_t want_mode, want_shared;
  };
  const Case cases[] = {
      {"C:\\dir\\a.dll", "x/y/z.txt", 7, 0, "a.dll", "z.txt", 8, 1},
      {"d:b.exe", "", 3, 0, "b.exe", "", 3, 0},
      {"plain", "keep", 8, 0, "plain", "keep", 8, 0},
      {"dir\\", "c:", 0, 1, "", "", 0, 1},
  };
  for (const Case& c : cases) {
    TSetupFile f = NamedFile(c.source);
    f.OverwriteMode = c.mode;
    f.SharedFile = c.shared;
    f.ExtraText2 = c.text2;
    f.Components = "comp";
    const TSetupFile once = LogFileRecord(f);
    EXPECT_EQ(once.SourceName, c.want_source);
    EXPECT_EQ(once.ExtraText2, c.want_text2);
    EXPECT_EQ(once.OverwriteMode, c.want_mode);
    EXPECT_EQ(once.SharedFile, c.want_shared);
    EXPECT_EQ(once.Components, "comp");
    EXPECT_EQ(LogFileRecord(once), once);
  }
}

}  // namespace
}  // namespace kvb
