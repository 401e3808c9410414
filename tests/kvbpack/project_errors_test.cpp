// Every kind of project mistake is reported with file, line and column, and a failed
// build leaves nothing at the output path.
#include <gtest/gtest.h>

#include "build.h"
#include "pack_test_util.h"
#include "project_reader.h"

namespace kvb::pack {
namespace {

using test::Scratch;

// Builds the project text in a scratch folder holding f.txt and a stub; returns the
// error text with the project's path replaced by "p.toml".
std::string BuildError(const Scratch& dir, const std::string& text, BuildOptions options = {}) {
  test::WriteFile(dir / "p.toml", text);
  test::WriteFile(dir / "f.txt", "data");
  test::WriteFile(dir / "g.txt", "other data");
  test::WriteFile(dir / "stub.exe", "MZ stub");
  options.output = dir / "out/Setup.exe";
  if (options.stub.empty() && text.find("stub =") == std::string::npos)
    options.stub = dir / "stub.exe";
  try {
    BuildPackage(ReadProject(dir / "p.toml"), options);
  } catch (const ProjectError& e) {
    std::string message = e.what();
    for (size_t at; (at = message.find(dir / "p.toml")) != std::string::npos;) {
      message.replace(at, (dir / "p.toml").size(), "p.toml");
    }
    return message;
  }
  return "(no error)";
}

TEST(ProjectErrorsTest, EveryMistakeNamesItsPlace) {
  const std::string caption_1001(1001, 'c');
  struct Case {
    std::string text;
    std::string message;  // the start of the first diagnostic
  } cases[] = {
      {"[software]\nnmae = \"x\"\n",
       "p.toml:2:1: unknown key \"nmae\" in [software] (known keys: "},
      {"[software]\nname = 5\n", "p.toml:2:8: name must be a string, not an integer"},
      {"[requirements]\ncolor-bits = -1\n",
       "p.toml:2:14: color-bits = -1 is out of range (0 to 4294967295)"},
      {"[[file]]\nsource = \"missing.txt\"\n", "p.toml:2:10: cannot read the source file"},
      {"[[file]]\ndest-dir = 'x'\n", "p.toml:1:1: [[file]] needs a source"},
      {"[scripts]\nstartup = '''\nSET \"%a%\", \"1\"\nFROB \"x\"\n'''\n",
       "p.toml:4:1: unknown command \"FROB\""},
      {"[scripts]\nstartup = 'SET \"a\", \"b\", \"c\", \"d\"'\n",
       "p.toml:2:31: SET takes at most 3 arguments, 4 given"},
      {"[scripts]\nstartup = \"\"\"\nIF when \"%a% = 1|\"\nSET \"a\"\n\"\"\"\n",
       "p.toml:3:1: IF \"if0\" has no ENDIF"},
      {"[scripts]\nerror = '''\nIF \"x\"\n  IF \"x\"\n  ENDIF\nENDIF\n'''\n",
       "p.toml:4:3: block identifier \"x\" is already used by the enclosing IF \"x\""},
      {"[scripts]\nerror = '''\nWHILE\nENDFOR\n'''\n", "p.toml:4:1: ENDFOR without a matching FOR"},
      {"[[dialog]]\nname = \"P\"\n[[dialog.control]]\nkind = \"label\"\ncaption = \"" +
           caption_1001 + "\"\n",
       "p.toml:5:11: caption is 1001 characters long; the field holds 1000"},
      {"[[dialog]]\nname = \"" + caption_1001 + "\"\n", "p.toml:2:8: name is 1001 characters long"},
      {"[[dialog]]\nname = \"P\"\n[[dialog.control]]\nkind = 20\n",
       "p.toml:4:8: control kind 20 is out of range (1 to 14)"},
      {"[[dialog]]\nname = \"P\"\n[[dialog.control]]\nkind = \"checkbox\"\n",
       "p.toml:4:8: unknown kind \"checkbox\"; use \"label\""},
      {"[[dialog]]\nname = \"P\"\n[[dialog.control]]\nkind = \"label\"\nrole = 30\n",
       "p.toml:5:8: control role 30 is out of range (0 to 17)"},
      {"[[dialog]]\nname = \"P\"\n[[dialog.control]]\nkind = \"label\"\nrole = \"licence\"\n",
       "p.toml:5:8: role \"licence\" does not apply to a label control"},
      {"[[dialog]]\nname = \"P\"\n[[dialog.control]]\nrole = 1\n",
       "p.toml:3:1: a control needs a kind"},
      {"[[dialog]]\nname = \"P\"\nstyle = \"Nope\"\n",
       "p.toml:3:9: style \"Nope\" names no dialog"},
      {"[[dialog]]\nname = \"P\"\n[[dialog]]\nname = \"p\"\n",
       "p.toml:3:1: a dialog named \"p\" is already defined at line 1"},
      {"[software\nname = 1\n", "p.toml:1:10: "},
      {"[software]\nname = M\xC3\xBCller\n",
       "p.toml:2:9: this character may stand only inside quotes or in a comment"},
      {"s = \"\"\"x\"\"\"\"\xC2\xA7\n", "p.toml:1:13: this character may stand only inside quotes"},
      // Inputs that reached faults of the TOML library: a non-ASCII character met while it
      // scans a bare value, a table header that starts with neither a key nor a quote, and
      // date-times whose time part is missing or cut short.
      {"name =+\"Fran\xC3\xA7\" \"ais\"\n", "p.toml:1:"},
      {"a = [=\"\xD0\x96\"]\n", "p.toml:1:"},
      {"[=a]\n", "p.toml:1:2: "},
      {"e=5433-01-01T:\n", "p.toml:1:"},
      {"a = 1979-05-27 1\n", "p.toml:1:"},
      {"s = \"\"\"\\\n\xC2\xA7\"\"\"\n",
       "p.toml:2:1: a line-ending backslash must not be followed"},
      {"# \xC2\xA7 fine in a comment\nname = '\xFF'\n",
       "p.toml:2:9: the project file is not valid UTF-8 text here"},
      {"[software]\nname = \"a\xE4\xB8\x80\"\n",
       "p.toml:2:10: this character has no Windows-1252 code"},
      {"[[file]]\nsource = \"f.txt\"\noverwrite = \"sometimes\"\n",
       "p.toml:3:13: unknown overwrite \"sometimes\"; use \"ask\""},
      {"[package]\nfile-date = 1970-01-01T00:00:00\n",
       "p.toml:2:13: file-date must be a local date and time from 1980"},
      {"[[file]]\nsource = \"f.txt\"\nblock = \"Nope\"\n",
       "p.toml:1:1: block \"Nope\" names no component"},
      {"[[file]]\nsource = \"f.txt\"\nentry = 3\n[[file]]\nsource = \"g.txt\"\nentry = 3\n",
       "p.toml:4:1: entry 3 is also given to the file at line 1, whose source differs"},
      {"[uninstall]\nenabled = true\n", "p.toml:1:1: no uninstaller program"},
      {"[[language]]\nid = 7\n", "p.toml:1:1: a language needs a name"},
      {"[[language]]\nname = \"X\"\n[language.messages]\n70 = \"x\"\n",
       "p.toml:4:1: message numbers run from 0 to 68"},
      {"[[platform]]\nname = \"PDA\"\n", "p.toml:1:1: \"PDA\" is not a known platform"},
      {"[[component]]\nname = \"C\"\nspan = 0\n[[file]]\nsource = \"f.txt\"\ncomponents = \"C\"\n",
       "p.toml:1:1: component \"C\" has files, so its span cannot be 0"},
      {"[package]\nvolume-size = \"12 parsecs\"\n",
       "p.toml:2:15: volume-size must be a positive number"},
      {"file = 1\n", "p.toml:1:8: file must be an array of tables ([[file]]), not an integer"},
      {"[package]\nstub = \"nowhere.exe\"\n", "p.toml:2:8: cannot read the setup program"},
      {"[[registry]]\nkey = 'K'\ntype = \"binary\"\ndata = \"4B 5G 42\"\n",
       "p.toml:4:8: binary data must be hexadecimal bytes separated by blanks"},
      {"[[registry]]\nkey = 'K'\ntype = \"binary\"\ndata = \"4B 100\"\n",
       "p.toml:4:8: binary data must be hexadecimal bytes"},
      {"[[registry]]\nkey = 'K'\ntype = \"integer\"\ndata = \"many\"\n",
       "p.toml:4:8: integer data must be a decimal number"},
      {"[[file]]\nsource = \"f.txt\"\ninstall-font = true\n",
       "p.toml:1:1: an installed font needs font-name"},

  };
  for (const Case& c : cases) {
    Scratch dir;
    const std::string message = BuildError(dir, c.text);
    EXPECT_EQ(message.substr(0, c.message.size()), c.message) << c.text;
    EXPECT_FALSE(std::filesystem::exists(dir / "out/Setup.exe")) << c.text;
  }
}

TEST(ProjectErrorsTest, AllMistakesAreReportedTogether) {
  Scratch dir;
  const std::string message =
      BuildError(dir, "[software]\nnmae = 1\ncompany = 2\n[scripts]\nstartup = 'NOPE'\n");
  EXPECT_EQ(message,
            "p.toml:3:11: company must be a string, not an integer\n"
            "p.toml:2:1: unknown key \"nmae\" in [software] (known keys: about-url, comments, "
            "company, contact, display-name, display-version, help-url, info-byte, install-dir, "
            "name, program-group, setup-types, update-url)\n"
            "p.toml:5:12: unknown command \"NOPE\"");
}

TEST(ProjectErrorsTest, FailedWritesLeaveTheOutputAlone) {
  Scratch dir;
  test::WriteFile(dir / "big.bin", test::Noise(300000, 7));
  test::WriteFile(dir / "out/Setup.exe", "old package");
  BuildOptions options;
  options.volume_size = 2000;  // no 64 KiB piece fits: the archive writer gives up
  std::string text = "[[file]]\nsource = \"big.bin\"\n";
  test::WriteFile(dir / "p.toml", text);
  test::WriteFile(dir / "stub.exe", "MZ stub");
  options.output = dir / "out/Setup.exe";
  options.stub = dir / "stub.exe";
  EXPECT_ANY_THROW(BuildPackage(ReadProject(dir / "p.toml"), options));
  EXPECT_EQ(test::ReadFile(dir / "out/Setup.exe"), "old package");
  EXPECT_EQ(test::Listing(dir.path() / "out"), "Setup.exe ");

  options.stub = dir / "no-such-stub.exe";
  options.volume_size.reset();
  EXPECT_ANY_THROW(BuildPackage(ReadProject(dir / "p.toml"), options));
  EXPECT_EQ(test::Listing(dir.path() / "out"), "Setup.exe ");
}

}  // namespace
}  // namespace kvb::pack
