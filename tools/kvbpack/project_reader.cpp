#include "project_reader.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/text.h"
#include "project_base.h"
#include "project_reader_parts.h"

namespace kvb::pack {
namespace {

void ReadPackageTable(TableReader& root, Project& p) {
  const TomlNode* t = root.Table("package");
  if (!t)
    return;
  TableReader r(*t, root.diag(), "[package]");
  if (const TomlNode* stub = r.Get("stub")) {
    if (stub->type == TomlNode::Type::kString) {
      p.stub = stub->text;
      p.stub_pos = stub->pos;
    } else {
      r.Error(*stub, "stub must be a string (the path of the setup program)");
    }
  }
  uint64_t size = 0;
  if (r.Size("volume-size", size))
    p.volume_size = size;
  uint32_t date = 0;
  if (r.DosDate("file-date", date))
    p.default_date = date;
  r.Finish();
}

// A string kept as written (paths, names, addresses): not a text of the package.
void ReadPlain(TableReader& r, std::string_view key, std::string& out) {
  const TomlNode* v = r.Get(key);
  if (!v)
    return;
  if (v->type == TomlNode::Type::kString)
    out = v->text;
  else
    r.Error(*v, std::string(key) + " must be a string");
}

void ReadSigning(TableReader& root, Project& p) {
  const TomlNode* t = root.Table("signing");
  if (!t)
    return;
  TableReader r(*t, root.diag(), "[signing]");
  SigningOptions s;
  s.pos = t->pos;
  ReadPlain(r, "certificate", s.certificate);
  ReadPlain(r, "key", s.key);
  ReadPlain(r, "pkcs12", s.pkcs12);
  ReadPlain(r, "password-env", s.password_env);
  ReadPlain(r, "password-file", s.password_file);
  ReadPlain(r, "timestamp-url", s.timestamp_url);
  ReadPlain(r, "description", s.description);
  ReadPlain(r, "url", s.url);
  if (const TomlNode* v = r.Get("password"))
    r.Error(*v, "the password does not belong in the project: use password-env or password-file");
  r.Finish();
  p.signing = std::move(s);
}

// A component list: a string ("A|B") or an array of names.
void ReadSetupTypes(TableReader& r, TSetupProperties& props) {
  const TomlNode* v = r.Get("setup-types");
  if (!v)
    return;
  std::string* lists[3] = {&props.ComponentsType0, &props.ComponentsType1, &props.ComponentsType2};
  if (v->type != TomlNode::Type::kArray || v->items.size() > 3) {
    r.Error(*v, "setup-types must be an array of up to three component lists");
    return;
  }
  for (size_t i = 0; i < v->items.size(); ++i) {
    TomlNode holder;
    holder.members.push_back({"list", v->items[i].pos, v->items[i]});
    TableReader item(holder, r.diag(), "setup-types");
    item.TextList("list", *lists[i], "|");
  }
}

void ReadSoftware(TableReader& root, Project& p) {
  const TomlNode* t = root.Table("software");
  if (!t)
    return;
  TableReader r(*t, root.diag(), "[software]");
  TSetupProperties& s = p.data.Properties;
  r.Text("name", s.SoftwareName);
  r.Text("company", s.CompanyName);
  r.Text("comments", s.Comments);
  r.Text("install-dir", s.DefaultInstallDir);
  r.Text("program-group", s.DefaultProgramGroup);
  ReadSetupTypes(r, s);
  r.Text("display-name", s.DisplayName);
  r.Text("display-version", s.DisplayVersion);
  r.Text("contact", s.Contact);
  r.Text("about-url", s.URLInfoAbout);
  r.Text("help-url", s.HelpLink);
  r.Text("update-url", s.URLUpdateInfo);
  r.Byte("info-byte", p.data.InfoByte);
  r.Finish();
}

void ReadWindowsVersion(TableReader& r, std::string_view key, uint32_t& out) {
  const TomlNode* v = r.Get(key);
  if (!v)
    return;
  std::optional<uint32_t> packed;
  if (v->type == TomlNode::Type::kString)
    packed = ParsePackedVersion(v->text);
  if (v->type == TomlNode::Type::kInteger && v->integer >= 0 && v->integer <= UINT32_MAX) {
    packed = static_cast<uint32_t>(v->integer);
  }
  if (!packed) {
    r.Error(*v, std::string(key) +
                    " must be a Windows version \"major.minor.build\" (e.g. "
                    "\"5.0.2195\") or a packed number");
    return;
  }
  out = *packed;
}

void ReadServicePack(TableReader& r, std::string_view key, uint16_t& out) {
  const TomlNode* v = r.Get(key);
  if (!v)
    return;
  std::optional<uint32_t> packed;
  if (v->type == TomlNode::Type::kString) {
    if (const std::optional<uint32_t> ver = ParsePackedVersion(v->text);
        ver && (*ver & 0xFFFF) == 0) {
      packed = (*ver >> 24) * 256 + ((*ver >> 16) & 0xFF);
    }
  }
  if (v->type == TomlNode::Type::kInteger && v->integer >= 0 && v->integer <= 0xFFFF) {
    packed = static_cast<uint32_t>(v->integer);
  }
  if (!packed) {
    r.Error(*v, std::string(key) +
                    " must be a service pack \"major.minor\" (e.g. \"4.0\") or a number");
    return;
  }
  out = static_cast<uint16_t>(*packed);
}

void ReadRequirements(TableReader& root, Project& p) {
  const TomlNode* t = root.Table("requirements");
  if (!t)
    return;
  TableReader r(*t, root.diag(), "[requirements]");
  TSetupMinimumRequeriments& m = p.data.MinimumRequirements;
  r.Enum8("screen", ScreenSizeNames(), m.MinScreen);
  r.U32("color-bits", m.MinColorBits);
  r.U32("memory-mb", m.MinMemoryMB);
  ReadWindowsVersion(r, "windows-limit-1", p.data.OsLimits[0].Version);
  ReadWindowsVersion(r, "windows-limit-2", p.data.OsLimits[1].Version);
  ReadWindowsVersion(r, "windows-min", p.data.OsLimits[2].Version);
  ReadServicePack(r, "windows-min-sp", p.data.OsLimits[2].ServicePack);
  ReadWindowsVersion(r, "windows-max", p.data.OsLimits[3].Version);
  ReadServicePack(r, "windows-max-sp", p.data.OsLimits[3].ServicePack);
  r.Finish();
}

void ReadAppearance(TableReader& root, Project& p) {
  const TomlNode* t = root.Table("appearance");
  if (!t)
    return;
  TableReader r(*t, root.diag(), "[appearance]");
  TSetupProperties& s = p.data.Properties;
  r.Text("title", s.Title);
  r.Text("wizard-bitmap", s.WizardBitmap);
  r.Text("splash-bitmap", s.SplashBitmap);
  r.Text("license-file", s.LicenseFile);
  r.Font("font", s.Font);
  r.Strings("billboards", p.data.Billboards);
  r.Text("background-bitmap", s.BackBitmap);
  r.Enum8("background-placement", BackPlacementNames(), s.BackPlacement);
  r.U32("background-color-1", s.BackColor1);
  r.U32("background-color-2", s.BackColor2);
  r.Byte("background-top-to-bottom", s.BackGradient);
  r.Enum8("background-window", BackWindowNames(), s.BackFlag);
  r.Finish();
}

void ReadOptions(TableReader& root, Project& p) {
  const TomlNode* t = root.Table("options");
  std::optional<uint8_t> uninstall_info;
  if (t) {
    TableReader r(*t, root.diag(), "[options]");
    for (size_t i = 0; i < StartupOptionKeys().size(); ++i) {
      uint8_t value = 0;
      if (r.Byte(StartupOptionKeys()[i], value)) {
        p.data.StartupOptions[i] = value;
        if (i == kWriteUninstallInfo)
          uninstall_info = value;
      }
    }
    r.Finish();
  }
  // A package with an uninstaller writes the uninstall information unless told otherwise.
  if (!uninstall_info && p.uninstaller)
    p.data.StartupOptions[kWriteUninstallInfo] = 1;
}

void ReadMessageTable(TableReader& owner, std::string_view key, TSetupMessage& table) {
  const TomlNode* t = owner.Table(key);
  if (!t)
    return;
  TableReader r(*t, owner.diag(), owner.where() + "." + std::string(key));
  for (int i = 0; i < kMessageCount; ++i)
    r.Text(std::to_string(i), table.Texts[i]);
  for (const TomlNode::Member& m : t->members) {
    if (m.key.find_first_not_of("0123456789") == std::string::npos && m.key.size() <= 3 &&
        std::stoi(m.key) >= kMessageCount) {
      owner.diag().Error(m.key_pos,
                         "message numbers run from 0 to " + std::to_string(kMessageCount - 1));
    }
  }
  r.Finish();
}

void ReadLanguages(TableReader& root, Project& p) {
  ReadMessageTable(root, "messages", p.data.LanguageLessMessages);
  for (const TomlNode* t : root.Tables("language")) {
    TableReader r(*t, root.diag(), "[[language]]");
    TSetupLanguage lang;
    lang.Messages = p.data.LanguageLessMessages;
    if (!r.Text("name", lang.Name))
      r.Error(*t, "a language needs a name");
    r.U32("id", lang.LanguageId);
    r.Byte("default", lang.IsDefault);
    ReadMessageTable(r, "messages", lang.Messages);
    lang.Messages.LanguageId = static_cast<int32_t>(lang.LanguageId);
    r.Finish();
    p.data.Languages.push_back(std::move(lang));
  }
}

void ReadGlobalScripts(TableReader& root, Project& p) {
  const TomlNode* t = root.Table("scripts");
  if (!t)
    return;
  TableReader r(*t, root.diag(), "[scripts]");
  for (size_t i = 0; i < GlobalScriptKeys().size(); ++i) {
    ReadScriptValue(r, GlobalScriptKeys()[i], p.data.Scripts[i]);
  }
  r.Finish();
}

void ReadFolders(TableReader& root, Project& p) {
  const TomlNode* t = root.Table("folders");
  if (!t)
    return;
  TableReader r(*t, root.diag(), "[folders]");
  std::vector<std::string> list;
  if (r.Strings("files", list))
    p.file_folders = list;
  if (r.Strings("shortcuts", list))
    p.shortcut_folders = list;
  r.Finish();
}

void ReadArchives(TableReader& root, Project& p) {
  const TomlNode* t = root.Table("archives");
  if (!t)
    return;
  TableReader r(*t, root.diag(), "[archives]");
  std::string text;
  if (r.Text("main-message", text))
    p.main_message = text;
  if (r.Text("temp-message", text))
    p.temp_message = text;
  bool flag = false;
  if (r.Bool("temp-archive", flag))
    p.temp_archive = flag;
  if (r.Bool("main-archive", flag))
    p.main_archive = flag;
  uint32_t span = 0;
  if (r.U32("main-span", span))
    p.main_span = span;
  double scale = 0;
  if (r.Double("main-scale", scale))
    p.main_scale = scale;
  r.Finish();
}

void ReadUninstall(TableReader& root, Project& p) {
  const TomlNode* t = root.Table("uninstall");
  if (!t)
    return;
  TableReader r(*t, root.diag(), "[uninstall]");
  p.uninstaller = true;
  p.uninstaller_pos = t->pos;
  r.Bool("enabled", p.uninstaller);
  if (const TomlNode* v = r.Get("program")) {
    if (v->type == TomlNode::Type::kString) {
      p.uninstaller_program = v->text;
      p.uninstaller_pos = v->pos;
    } else {
      r.Error(*v, "program must be a string (the path of the uninstaller program)");
    }
  }
  r.Finish();
}

}  // namespace

Project ReadProjectText(std::string_view text,
                        const std::string& file,
                        const std::string& base_dir) {
  const TomlNode root_node = ReadProjectTree(text, file, base_dir);
  Diagnostics diag;
  Project p;
  p.file = file;
  p.base_dir = base_dir;
  p.data = DefaultSetupData();
  TableReader root(root_node, diag, "the project");
  ReadPackageTable(root, p);
  ReadSigning(root, p);
  ReadUninstall(root, p);
  ReadSoftware(root, p);
  ReadRequirements(root, p);
  ReadAppearance(root, p);
  ReadOptions(root, p);
  ReadLanguages(root, p);
  ReadGlobalScripts(root, p);
  ReadFolders(root, p);
  ReadArchives(root, p);
  ReadVariables(root, p);
  ReadBackgroundItems(root, p);
  ReadComponents(root, p);
  ReadConduits(root, p);
  ReadDialogs(root, p);
  ReadFiles(root, p);
  ReadDevices(root, p);
  ReadShortcuts(root, p);
  ReadRegistry(root, p);
  ReadPlatforms(root, p);
  root.Finish();
  diag.ThrowIfAny();
  return p;
}

Project ReadProject(const std::string& path) {
  std::error_code ec;
  std::ifstream in(path, std::ios::binary);
  if (!std::filesystem::is_regular_file(path, ec) || !in)
    throw ProjectError(SourcePos{path, 0, 0}, "cannot open the project file");
  std::ostringstream text;
  text << in.rdbuf();
  return ReadProjectText(text.str(), path, ExtractFilePath(path));
}

}  // namespace kvb::pack
