// Reading and writing project files, and the plan a project resolves to.
#include <gtest/gtest.h>

#include "pack_test_util.h"
#include "platforms.h"
#include "project_reader.h"
#include "project_writer.h"
#include "resolve.h"
#include "setupdata/default_messages.h"

namespace kvb::pack {
namespace {

Project Read(const std::string& text) {
  return ReadProjectText(text, "p.toml", "");
}

// The members a project file carries (not where it was read from).
void ExpectSameProject(const Project& a, const Project& b) {
  EXPECT_TRUE(a.data == b.data);

  EXPECT_EQ(a.temp_files.size(), b.temp_files.size());
  for (size_t i = 0; i < std::min(a.temp_files.size(), b.temp_files.size()); ++i) {
    EXPECT_TRUE(a.temp_files[i].record == b.temp_files[i].record) << i;
    EXPECT_EQ(a.temp_files[i].entry, b.temp_files[i].entry);
    EXPECT_EQ(a.temp_files[i].date, b.temp_files[i].date);
  }
  ASSERT_EQ(a.files.size(), b.files.size());
  for (size_t i = 0; i < a.files.size(); ++i) {
    const ProjectFile& x = a.files[i];
    const ProjectFile& y = b.files[i];
    EXPECT_TRUE(x.source == y.source && x.record == y.record && x.entry == y.entry &&
                x.version == y.version && x.date == y.date && x.archive_date == y.archive_date &&
                x.size == y.size && x.block == y.block)
        << i;
  }
  for (size_t i = 0; i < a.component_archives.size(); ++i) {
    const ComponentArchive& x = a.component_archives[i];
    const ComponentArchive& y = b.component_archives[i];
    EXPECT_TRUE(x.span == y.span && x.progress_base == y.progress_base && x.offset == y.offset &&
                x.message == y.message);
  }
  EXPECT_EQ(a.main_span, b.main_span);
  EXPECT_EQ(a.main_scale, b.main_scale);
  EXPECT_EQ(a.main_message, b.main_message);
  EXPECT_EQ(a.temp_message, b.temp_message);
  EXPECT_EQ(a.file_folders, b.file_folders);
  EXPECT_EQ(a.shortcut_folders, b.shortcut_folders);
  EXPECT_EQ(a.uninstaller, b.uninstaller);
  EXPECT_EQ(a.uninstaller_program, b.uninstaller_program);
  EXPECT_EQ(a.stub, b.stub);
  EXPECT_EQ(a.volume_size, b.volume_size);
  EXPECT_EQ(a.default_date, b.default_date);
}

TEST(ProjectTest, ASmallProjectGetsTheDefaults) {
  const Project p = Read("[software]\nname = \"X\"\n");
  TSetupData expected = DefaultSetupData();
  expected.Properties.SoftwareName = "X";
  EXPECT_TRUE(p.data == expected);
  EXPECT_EQ(p.data.LanguageLessMessages.Texts[53], DefaultMessageTexts()[53]);
  EXPECT_EQ(p.data.Scripts[0].Count, -1);
  EXPECT_EQ(p.data.Properties.Font.FaceName, "MS Sans Serif");
}

TEST(ProjectTest, ValuesAreConvertedToTheirStoredForm) {
  const Project p = Read(R"(
[appearance]
font = { face = "Arial", style = ["bold", "strike-out"] }
[options]
use-background-window = true
[uninstall]
program = "u.exe"
[[language]]
name = "Fran\u00e7ais"
[language.messages]
1 = "Annuler"
[[dialog]]
name = "P"
[[dialog.control]]
kind = "check-box"
font = { face = "Tahoma", size = 8, color = 0x80000008 }
checked-value = "yes"
initial-value = 12
[[dialog.control]]
kind = "label"
transparent = true
[[dialog.control]]
kind = "button"
button-type = "cancel"
[[dialog.control]]
kind = "shape"
shape = "circle"
pen-color = 0x80000005
[[platform]]
name = "SP2003"
[[shortcut]]
name = "S"
target = "t"
components = ["A", "B"]
)");
  EXPECT_EQ(p.data.Properties.Font.Style, 9);
  EXPECT_EQ(p.data.Properties.Font.Size, 8u);  // the default kept
  EXPECT_EQ(p.data.StartupOptions[kUseBackWindow], 1);
  EXPECT_EQ(p.data.StartupOptions[kWriteUninstallInfo], 1);  // implied by the uninstaller
  ASSERT_EQ(p.data.Languages.size(), 1u);
  EXPECT_EQ(p.data.Languages[0].Name,
            "Fran\xE7"
            "ais");
  EXPECT_EQ(p.data.Languages[0].Messages.Texts[1], "Annuler");
  EXPECT_EQ(p.data.Languages[0].Messages.Texts[2], "Yes");
  const auto& controls = p.data.Dialogs[0].Controls;
  EXPECT_EQ(controls[0].Strings[1], "Tahoma|8|-2147483640|9|1|");  // style from the dialog font
  EXPECT_EQ(controls[0].Strings[2], "12");
  EXPECT_EQ(controls[0].Strings[3], "yes");
  EXPECT_EQ(controls[1].Strings[2], "1");
  EXPECT_EQ(controls[2].Strings[2], "1");
  EXPECT_EQ(controls[3].Strings[0], "5");
  EXPECT_EQ(controls[3].Strings[1], "-2147483643");
  EXPECT_TRUE(p.data.Platforms[0] == *FindKnownPlatform("SP2003"));
  EXPECT_EQ(p.data.Shortcuts[0].Components, "A|B");
  EXPECT_EQ(p.data.Shortcuts[0].Folder, "%ProgramGroupDir%\\");
}

TEST(ProjectTest, WrittenProjectsReadBackTheSame) {
  const std::string sources[] = {std::string(KVB_SOURCE_DIR) + "/examples/sample/sample.toml",
                                 std::string(KVB_SOURCE_DIR) + "/tests/kvbpack/every_feature.toml"};
  for (const std::string& path : sources) {
    const Project original = ReadProject(path);
    const std::string text = WriteProjectText(original);
    const Project again = ReadProjectText(text, "again.toml", original.base_dir);
    ExpectSameProject(original, again);
    EXPECT_EQ(WriteProjectText(again), text) << path;
  }
}

TEST(ProjectTest, AnyTextSurvivesWritingAndReading) {
  const std::string texts[] = {"plain",
                               "C:\\path\\",
                               "it's",
                               "say \"hi\"",
                               "'''",
                               "tab\tand\r\nbreak",
                               "\x01\x7F\x80\x81\xFF",
                               "back\\slash 'quoted'",
                               ""};
  Project p = Read("");
  for (const std::string& text : texts) {
    p.data.Billboards.push_back(text);
    TScriptStatement st;
    st.Code = 56;
    st.Args = {"%X%", text, "", "", ""};
    st.Guard = text;
    p.data.Scripts[3].Statements.push_back(st);
    TSetupRegChange c;
    c.Data = text;
    c.Key = text;
    p.data.RegChanges.push_back(c);
  }
  p.data.Scripts[3].Count = static_cast<int32_t>(p.data.Scripts[3].Statements.size());
  p.data.Properties.SoftwareName = "'''\"\"\"";
  p.main_scale = 1.0 / 3;
  const std::string text = WriteProjectText(p);
  const Project again = Read(text);
  EXPECT_TRUE(again.data == p.data) << text;
  EXPECT_EQ(again.main_scale, p.main_scale);
}

TEST(ProjectTest, EntriesAreNumberedInArchiveOrder) {
  test::Scratch dir;
  for (const char* name : {"a", "b", "c", "t"})
    test::WriteFile(dir / name, name);
  Project p = ReadProjectText(R"(
[[component]]
name = "C"
[[temp-file]]
source = "t"
[[file]]
source = "a"
components = "C|Other"
[[file]]
source = "b"
entry = 1
[[file]]
source = "c"
)",
                              "p.toml", dir.path().string());
  PackagePlan plan = ResolveProject(p);
  // Main block first (b keeps its 1, c gets 0), then the component's block, then the
  // temporary files, skipping the numbers given explicitly.
  ASSERT_EQ(plan.data.DeviceFiles.size(), 3u);
  EXPECT_EQ(plan.data.DeviceFiles[0].EntryIndex, 2u);
  EXPECT_EQ(plan.data.DeviceFiles[1].EntryIndex, 1u);
  EXPECT_EQ(plan.data.DeviceFiles[2].EntryIndex, 0u);
  EXPECT_EQ(plan.data.TempFiles[0].EntryIndex, 3u);
  ASSERT_EQ(plan.component_blocks.size(), 1u);
  EXPECT_EQ(plan.component_blocks[0].entries[0].index, 2);
  EXPECT_EQ(plan.data.MainArchiveSpan + plan.data.Components[0].ArchiveSpan, 100u);
  EXPECT_EQ(plan.data.Components[0].ProgressBase, plan.data.MainArchiveSpan);
  EXPECT_EQ(plan.data.MainArchiveScale, 1.0);

  // With volume files every file goes into the main block.
  p.volume_size = 1 << 20;
  plan = ResolveProject(p);
  EXPECT_TRUE(plan.component_blocks.empty());
  EXPECT_EQ(plan.main_block.entries.size(), 3u);
  EXPECT_EQ(plan.data.Components[0].ArchiveSpan, 0u);
}

}  // namespace
}  // namespace kvb::pack
