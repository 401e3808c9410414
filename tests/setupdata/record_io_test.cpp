#include "setupdata/record_io.h"

#include <gtest/gtest.h>

#include "setupdata/uninst_item_io.h"
#include "stream_builder.h"

namespace kvb {
namespace {

constexpr StreamForm kForms[] = {StreamForm::kCurrent, StreamForm::kOld};

// Reads a record from `bytes` in `form`, checks that it used them all and that writing
// it back gives the same bytes.
template <typename Record>
Record RoundTrip(const std::string& bytes,
                 Record (*read)(ByteReader&, StreamForm),
                 void (*write)(ByteWriter&, const Record&, StreamForm),
                 StreamForm form) {
  MemorySource source(bytes);
  ByteReader in(source);
  Record record = read(in, form);
  EXPECT_EQ(in.Remaining(), 0u);
  ByteWriter out;
  write(out, record, form);
  EXPECT_EQ(out.Data(), bytes);
  return record;
}

// The flag byte that only the current form stores, as the old form reads it.
uint8_t OnlyCurrent(StreamForm form, uint8_t v) {
  return form == StreamForm::kCurrent ? v : 0;
}

TEST(RecordIoTest, FileRecordInBothForms) {
  for (StreamForm form : kForms) {
    Stream s;
    s.Zs({"src.dll", "dir\\"}).Bs({7, 1});
    if (form == StreamForm::kCurrent)
      s.B(9);
    s.Z("t1").Bs({11, 12, 13, 14, 15, 16}).Z("t2").B(17).Zs({"Font", "t3", "Main", "grp"});
    const TSetupFile expected{"src.dll", "dir\\", 7,      1,     OnlyCurrent(form, 9),
                              "t1",      11,      12,     13,    14,
                              15,        16,      "t2",   17,    "Font",
                              {},        "t3",    "Main", "grp", 0};
    EXPECT_EQ(RoundTrip(s.str(), ReadSetupFile, WriteSetupFile, form), expected);
  }
}

TEST(RecordIoTest, ShortcutAndRegChangeInBothForms) {
  for (StreamForm form : kForms) {
    const uint8_t flag2 = OnlyCurrent(form, 6);
    Stream s;
    s.Zs({"name", "target", "args", "desc"}).D(3).Zs({"folder", "icon"}).D(4).B(5);
    if (flag2)
      s.B(flag2);
    s.Zs({"e1", "e2", "comp", "grp"});
    EXPECT_EQ(RoundTrip(s.str(), ReadShortcut, WriteShortcut, form),
              (TSetupShortcut{"name", "target", "args", "desc", 3, "folder", "icon", 4, 5, flag2,
                              "e1", "e2", "comp", "grp"}));
    Stream r;
    r.B(2).Z("key").D(3).Zs({"name", "data"}).B(4);
    if (flag2)
      r.B(flag2);
    r.Zs({"e1", "e2", "comp", "grp"});
    EXPECT_EQ(RoundTrip(r.str(), ReadRegChange, WriteRegChange, form),
              (TSetupRegChange{2, "key", 3, "name", "data", 4, flag2, "e1", "e2", "comp", "grp"}));
  }
}

// A text item stores caption, font and shadow; a picture item its picture fields only.
TEST(RecordIoTest, BackItemKindsAndForms) {
  for (StreamForm form : kForms) {
    const uint8_t flag2 = OnlyCurrent(form, 3);
    Stream text, picture;
    text.Bs({0, 2});
    picture.Bs({4, 1});
    if (flag2)
      text.B(flag2), picture.B(flag2);
    text.Z("caption").Font("Arial", 12, 0x80000005, 3, 1).D(0x123456).B(1);
    picture.Z("logo.bmp").D(0xFF00FF).B(1);
    EXPECT_EQ(
        RoundTrip(text.str(), ReadBackItem, WriteBackItem, form),
        (TSetupBackItem{
            0, 2, flag2, "caption", {"Arial", 12, 0x80000005, 3, 1}, 0x123456, 1, "", 0, 0, 0}));
    EXPECT_EQ(RoundTrip(picture.str(), ReadBackItem, WriteBackItem, form),
              (TSetupBackItem{4, 1, flag2, "", {}, 0, 0, "logo.bmp", 0xFF00FF, 1, 0}));
  }
}

TEST(RecordIoTest, FontFaceIsCutAndTheRestFollows) {
  MemorySource source(Stream().Font(std::string(1500, 'F'), 10, 0x80000008, 5, 2).B(0xEE).str());
  ByteReader in(source);
  EXPECT_EQ(ReadFont(in), (TFontRecord{std::string(1000, 'F'), 10, 0x80000008, 5, 2}));
  EXPECT_EQ(in.U8(), 0xEE);
}

// A device file stores its size in front of the file record; a temporary file has none.
TEST(RecordIoTest, InstallerFileHeaders) {
  TSetupFile file;
  file.SourceName = "a.cab";
  ByteWriter record;
  WriteSetupFile(record, file);
  MemorySource device(Stream().Ds({7, 1, 2, 3, 4096}).Raw(record.Data()).str());
  ByteReader in(device);
  file.Size = 4096;
  EXPECT_EQ(ReadDeviceFile(in), (TSetupInstallerFile{7, 1, 2, 3, file}));
  MemorySource temp(Stream().D(9).Raw(record.Data()).str());
  ByteReader tin(temp);
  file.Size = 0;
  EXPECT_EQ(ReadTempFile(tin), (TSetupInstallerFile{9, 0, 0, 0, file}));
}

TEST(UninstItemIoTest, EveryKindStoresItsFields) {
  struct Case {
    uint8_t kind;
    bool path, file, reg;
  };
  const Case cases[] = {
      {0, true, true, false},  {1, true, true, false},   {2, true, false, false},
      {3, true, false, false}, {4, true, false, false},  {5, false, false, true},
      {6, true, false, false}, {7, false, false, false}, {255, false, false, false}};
  TSetupFile file;
  file.SourceName = "f.dll";
  file.ExtraFlag2 = 4;
  const TSetupRegChange reg{1, "k", 0, "", "", 0, 6, "", "", "", "g"};
  for (const Case& c : cases) {
    for (StreamForm form : kForms) {
      Stream s;
      s.B(c.kind);
      ByteWriter records;
      if (c.path)
        s.Z("C:\\p");
      if (c.file)
        WriteSetupFile(records, file, form);
      if (c.reg)
        WriteRegChange(records, reg, form);
      TUninstItem expected{c.kind, c.path ? "C:\\p" : "", c.file ? file : TSetupFile{},
                           c.reg ? reg : TSetupRegChange{}};
      expected.File.ExtraFlag2 = OnlyCurrent(form, expected.File.ExtraFlag2);
      expected.RegChange.ExtraFlag2 = OnlyCurrent(form, expected.RegChange.ExtraFlag2);
      EXPECT_EQ(RoundTrip(s.Raw(records.Data()).str(), ReadUninstItem, WriteUninstItem, form),
                expected)
          << int(c.kind);
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
    TSetupFile f;
    f.SourceName = c.source;
    f.OverwriteMode = c.mode;
    f.SharedFile = c.shared;
    f.ExtraText2 = c.text2;
    f.Components = "comp";
    TSetupFile expected = f;
    expected.SourceName = c.want_source;
    expected.ExtraText2 = c.want_text2;
    expected.OverwriteMode = c.want_mode;
    expected.SharedFile = c.want_shared;
    EXPECT_EQ(LogFileRecord(f), expected);
    EXPECT_EQ(LogFileRecord(expected), expected);
  }
}

}  // namespace
}  // namespace kvb
