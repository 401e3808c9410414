// Projects that extend a base project, and the background window a project describes.
#include <gtest/gtest.h>

#include "build.h"
#include "pack_test_util.h"
#include "project_reader.h"
#include "setupdata/setup_data.h"

namespace kvb::pack {
namespace {

using test::Scratch;

constexpr char kBase[] = R"(
[software]
name = "Base"
setup-types = ["A|B", "A"]

[appearance]
title = "%SoftwareName% Setup"
background-color-1 = 0x00FF0000

[[dialog]]
name = "Welcome"

[[temp-file]]
source = "base.bmp"
)";

TEST(ProjectBaseTest, VariantAddsABackgroundWindowToItsBase) {
  Scratch dir;
  test::WriteFile(dir / "base.toml", kBase);
  const std::string variant = R"(extends = "base.toml"

[software]
setup-types = ["B"]

[options]
use-background-window = true

[appearance]
background-color-2 = 0
background-top-to-bottom = true
background-window = "full-screen"
background-bitmap = "back.bmp"
background-placement = "centre"

[[background-item]]
caption = "%SoftwareName% Setup"
font = { face = "Arial", size = 22, color = 0x00FFFFFF, style = ["bold", "italic"] }
shadow = true

[[background-item]]
kind = "picture"
corner = "bottom-right"
slide-in = "top-left"
picture = "logo.bmp"
transparent-color = 0x00FF00FF
transparent = true

[[background-item]]
kind = "picture"
slide-in = 7

[[temp-file]]
source = "logo.bmp"
)";
  const Project p = ReadProjectText(variant, dir / "variant.toml", dir.path().string());
  const TSetupData& d = p.data;
  EXPECT_EQ(d.StartupOptions[kUseBackWindow], 1);
  // Kept from the base, merged key by key.
  EXPECT_EQ(d.Properties.SoftwareName, "Base");
  EXPECT_EQ(d.Properties.Title, "%SoftwareName% Setup");
  EXPECT_EQ(d.Properties.BackColor1, 0x00FF0000u);
  ASSERT_EQ(d.Dialogs.size(), 1u);
  // Added by the variant; a plain array replaces the base's.
  EXPECT_EQ(d.Properties.BackColor2, 0u);
  EXPECT_EQ(d.Properties.BackGradient, 1);
  EXPECT_EQ(d.Properties.BackFlag, 1);
  EXPECT_EQ(d.Properties.BackBitmap, "back.bmp");
  EXPECT_EQ(d.Properties.BackPlacement, 2);
  EXPECT_EQ(d.Properties.ComponentsType0, "B");
  EXPECT_EQ(d.Properties.ComponentsType1, "");
  ASSERT_EQ(p.temp_files.size(), 2u);  // the base's and the variant's

  ASSERT_EQ(d.BackItems.size(), 3u);
  const TSetupBackItem& text = d.BackItems[0];
  EXPECT_EQ(text.Kind, 0);
  EXPECT_EQ(text.Flag1, 0);
  EXPECT_EQ(text.Flag2, 0);
  EXPECT_EQ(text.Caption, "%SoftwareName% Setup");
  EXPECT_EQ(text.Font.FaceName, "Arial");
  EXPECT_EQ(text.Font.Size, 22u);
  EXPECT_EQ(text.Font.Style, 3);
  EXPECT_EQ(text.TextFlag, 1);
  const TSetupBackItem& logo = d.BackItems[1];
  EXPECT_EQ(logo.Kind, 1);
  EXPECT_EQ(logo.Flag1, 3);
  EXPECT_EQ(logo.Flag2, 5);
  EXPECT_EQ(logo.PictureFile, "logo.bmp");
  EXPECT_EQ(logo.PictureValue, 0x00FF00FFu);
  EXPECT_EQ(logo.PictureFlag, 1);
  EXPECT_EQ(d.BackItems[2].Flag2, 7);  // numbers still work
}

TEST(ProjectBaseTest, BrokenBasesAreReported) {
  Scratch dir;
  test::WriteFile(dir / "a.toml", "extends = \"b.toml\"\n");
  test::WriteFile(dir / "b.toml", "extends = \"a.toml\"\n");
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"extends = 3\n", "extends must be a string"},
      {"extends = \"missing.toml\"\n", "cannot open the base project"},
      {"extends = \"a.toml\"\n", "extends this one"},
      {"extends = \"variant.toml\"\n", "extends this one"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      ReadProjectText(c.text, dir / "variant.toml", dir.path().string());
      ADD_FAILURE() << "read without complaint";
    } catch (const ProjectError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(":1:"), std::string::npos) << e.what();
    }
  }
  // A mistake in the base names the base's file.
  test::WriteFile(dir / "bad.toml", "[software]\nname = 5\n");
  try {
    ReadProjectText("extends = \"bad.toml\"\n", dir / "variant.toml", dir.path().string());
    ADD_FAILURE() << "read without complaint";
  } catch (const ProjectError& e) {
    EXPECT_NE(std::string(e.what()).find("name"), std::string::npos) << e.what();
  }
}

TEST(ProjectBaseTest, TheSampleWithABackgroundWindow) {
  const std::string folder = std::string(KVB_SOURCE_DIR) + "/examples/sample";
  const Project sample = ReadProject(folder + "/sample.toml");
  const Project variant = ReadProject(folder + "/sample-back.toml");
  EXPECT_EQ(sample.data.StartupOptions[kUseBackWindow], 0);
  EXPECT_EQ(variant.data.StartupOptions[kUseBackWindow], 1);
  EXPECT_TRUE(variant.data.Dialogs == sample.data.Dialogs);
  EXPECT_EQ(variant.files.size(), sample.files.size());
  EXPECT_EQ(variant.temp_files.size(), sample.temp_files.size() + 1);
  EXPECT_FALSE(variant.data.BackItems.empty());
  for (const TSetupBackItem& item : variant.data.BackItems) {
    if (item.Kind == 0)
      continue;
    // Every picture the background window draws is extracted with the temporary files.
    bool extracted = false;
    for (const ProjectFile& t : variant.temp_files)
      extracted = extracted || t.record.SourceName == item.PictureFile;
    EXPECT_TRUE(extracted) << item.PictureFile;
  }
}

TEST(ProjectBaseTest, BuildWarnsAboutBackgroundPicturesNotExtracted) {
  Scratch dir;
  test::WriteFile(dir / "stub.exe", "MZ stub");
  test::WriteFile(dir / "logo.bmp", "BM logo");
  test::WriteFile(dir / "elsewhere.bmp", "BM elsewhere");
  const std::string project = R"(
[appearance]
background-bitmap = "back.bmp"

[[background-item]]
kind = "picture"
picture = "LOGO.BMP"

[[background-item]]
kind = "picture"
picture = "elsewhere.bmp"

[[background-item]]
caption = "text items need no file"

[[temp-file]]
source = "logo.bmp"

[[temp-file]]
source = "elsewhere.bmp"
dest-dir = '%WinDir%\'
)";
  BuildOptions options;
  options.stub = dir / "stub.exe";
  options.output = dir / "Setup.exe";
  test::WriteFile(dir / "p.toml", project);
  EXPECT_TRUE(BuildPackage(ReadProject(dir / "p.toml"), options).warnings.empty())
      << "no background window, no warning";

  test::WriteFile(dir / "p.toml", "[options]\nuse-background-window = true\n" + project);
  const BuildResult result = BuildPackage(ReadProject(dir / "p.toml"), options);
  ASSERT_EQ(result.warnings.size(), 2u);
  EXPECT_NE(result.warnings[0].find("\"back.bmp\" is not among the temporary files"),
            std::string::npos);
  EXPECT_NE(result.warnings[1].find("\"elsewhere.bmp\""), std::string::npos);
}

}  // namespace
}  // namespace kvb::pack
