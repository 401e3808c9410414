#include "project_writer.h"

#include "dos_time.h"
#include "project_writer_parts.h"
#include "script_syntax.h"
#include "setupdata/default_messages.h"

namespace kvb::pack {

void TextIf(TomlWriter& w, std::string_view key, const std::string& value, const std::string& def) {
  if (value != def)
    w.Text(key, value);
}

void ByteIf(TomlWriter& w, std::string_view key, uint8_t value, uint8_t def) {
  if (value == def)
    return;
  if (value <= 1) {
    w.Bool(key, value == 1);
  } else {
    w.Integer(key, value);
  }
}

void U32If(TomlWriter& w, std::string_view key, uint32_t value, uint32_t def) {
  if (value != def)
    w.Integer(key, value);
}

void I32If(TomlWriter& w, std::string_view key, int32_t value, int32_t def) {
  if (value != def)
    w.Integer(key, value);
}

void HexIf(TomlWriter& w, std::string_view key, uint32_t value, uint32_t def) {
  if (value != def)
    w.Hex(key, value);
}

void EnumIf(TomlWriter& w, std::string_view key, NameList names, uint32_t value, uint32_t def) {
  if (value == def)
    return;
  const std::string_view name = NameOfValue(names, value);
  if (name.empty()) {
    w.Integer(key, value);
  } else {
    w.Utf8(key, name);
  }
}

void FontIf(TomlWriter& w, std::string_view key, const TFontRecord& font, const TFontRecord& def) {
  if (font == def)
    return;
  std::string fields;
  auto add = [&fields](const std::string& field) {
    fields += (fields.empty() ? "" : ", ") + field;
  };
  if (font.FaceName != def.FaceName)
    add("face = " + TomlWriter::QuoteAnsi(font.FaceName));
  if (font.Size != def.Size)
    add("size = " + std::to_string(font.Size));
  if (font.Color != def.Color) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", font.Color);
    add(std::string("color = ") + buf);
  }
  if (font.Style != def.Style)
    add("style = " + std::to_string(font.Style));
  if (font.Charset != def.Charset)
    add("charset = " + std::to_string(font.Charset));
  w.Raw(key, "{ " + fields + " }");
}

void DateIf(TomlWriter& w, std::string_view key, const std::optional<uint32_t>& date) {
  if (!date)
    return;
  if (const std::optional<DosDateTime> t = UnpackDosTime(*date); t && PackDosTime(*t) == *date) {
    std::string text = FormatDosTime(*t);
    text[10] = 'T';
    w.Raw(key, text);
  } else {
    w.Hex(key, *date);
  }
}

void ScriptIf(TomlWriter& w, std::string_view key, const TScript& script) {
  if (script.Count < 0) {
    if (script.Count != -1)
      w.Integer(key, script.Count);
    return;
  }
  w.Script(key, PrintScript(script));
}

void RegChangeFields(TomlWriter& w, const TSetupRegChange& c, uint8_t default_root) {
  EnumIf(w, "root", RegistryRootNames(), c.Root, default_root);
  TextIf(w, "key", c.Key);
  EnumIf(w, "type", RegistryTypeNames(), c.ValueType, 0);
  TextIf(w, "value-name", c.ValueName);
  ByteIf(w, "extra-flag-1", c.ExtraFlag1);
  ByteIf(w, "extra-flag-2", c.ExtraFlag2);
  TextIf(w, "extra-text-1", c.ExtraText1);
  TextIf(w, "extra-text-2", c.ExtraText2);
  TextIf(w, "components", c.Components);
  TextIf(w, "group", c.Group);
}

namespace {

std::string PackedVersionText(uint32_t v) {
  return std::to_string(v >> 24) + "." + std::to_string((v >> 16) & 0xFF) + "." +
         std::to_string(v & 0xFFFF);
}

void WritePackageTable(TomlWriter& w, const Project& p) {
  w.Table("package");
  if (!p.stub.empty())
    w.Utf8("stub", p.stub);
  if (p.volume_size)
    w.Integer("volume-size", static_cast<int64_t>(*p.volume_size));
  DateIf(w, "file-date", p.default_date);
}

void WriteSoftware(TomlWriter& w, const Project& p) {
  const TSetupProperties& s = p.data.Properties;
  w.Table("software");
  TextIf(w, "name", s.SoftwareName);
  TextIf(w, "company", s.CompanyName);
  TextIf(w, "comments", s.Comments);
  TextIf(w, "install-dir", s.DefaultInstallDir);
  TextIf(w, "program-group", s.DefaultProgramGroup);
  if (!s.ComponentsType0.empty() || !s.ComponentsType1.empty() || !s.ComponentsType2.empty()) {
    w.TextArray("setup-types", {s.ComponentsType0, s.ComponentsType1, s.ComponentsType2});
  }
  TextIf(w, "display-name", s.DisplayName);
  TextIf(w, "display-version", s.DisplayVersion);
  TextIf(w, "contact", s.Contact);
  TextIf(w, "about-url", s.URLInfoAbout);
  TextIf(w, "help-url", s.HelpLink);
  TextIf(w, "update-url", s.URLUpdateInfo);
  U32If(w, "info-byte", p.data.InfoByte);
}

void WriteRequirements(TomlWriter& w, const Project& p) {
  const TSetupMinimumRequeriments& m = p.data.MinimumRequirements;
  w.Table("requirements");
  EnumIf(w, "screen", ScreenSizeNames(), m.MinScreen, 0);
  U32If(w, "color-bits", m.MinColorBits);
  U32If(w, "memory-mb", m.MinMemoryMB);
  const char* keys[4] = {"windows-limit-1", "windows-limit-2", "windows-min", "windows-max"};
  for (int i = 0; i < 4; ++i) {
    const TOsLimit& limit = p.data.OsLimits[i];
    if (limit.Version != 0)
      w.Utf8(keys[i], PackedVersionText(limit.Version));
    if (limit.ServicePack == 0)
      continue;
    if (i < 2)
      continue;  // not stored for the first two entries
    w.Utf8(std::string(keys[i]) + "-sp",
           std::to_string(limit.ServicePack >> 8) + "." + std::to_string(limit.ServicePack & 0xFF));
  }
}

void WriteAppearance(TomlWriter& w, const Project& p) {
  const TSetupProperties& s = p.data.Properties;
  w.Table("appearance");
  TextIf(w, "title", s.Title);
  TextIf(w, "wizard-bitmap", s.WizardBitmap);
  TextIf(w, "splash-bitmap", s.SplashBitmap);
  TextIf(w, "license-file", s.LicenseFile);
  FontIf(w, "font", s.Font, DefaultFont());
  if (!p.data.Billboards.empty())
    w.TextArray("billboards", p.data.Billboards);
  TextIf(w, "background-bitmap", s.BackBitmap);
  EnumIf(w, "background-placement", BackPlacementNames(), s.BackPlacement, 0);
  HexIf(w, "background-color-1", s.BackColor1);
  HexIf(w, "background-color-2", s.BackColor2);
  ByteIf(w, "background-top-to-bottom", s.BackGradient);
  EnumIf(w, "background-window", BackWindowNames(), s.BackFlag, 0);
}

void WriteOptions(TomlWriter& w, const Project& p) {
  w.Table("options");
  for (size_t i = 0; i < StartupOptionKeys().size(); ++i) {
    const uint8_t def = i == kWriteUninstallInfo && p.uninstaller ? 1 : 0;
    ByteIf(w, StartupOptionKeys()[i], p.data.StartupOptions[i], def);
  }
}

void WriteSettings(TomlWriter& w, const Project& p) {
  w.Table("uninstall");
  if (p.uninstaller) {
    if (p.uninstaller_program.empty()) {
      w.Bool("enabled", true);
    } else {
      w.Utf8("program", p.uninstaller_program);
    }
  }
  w.Table("archives");
  if (p.temp_archive)
    w.Bool("temp-archive", *p.temp_archive);
  if (p.temp_message)
    w.Text("temp-message", *p.temp_message);
  if (p.main_archive)
    w.Bool("main-archive", *p.main_archive);
  if (p.main_message)
    w.Text("main-message", *p.main_message);
  if (p.main_span)
    w.Integer("main-span", *p.main_span);
  if (p.main_scale)
    w.Double("main-scale", *p.main_scale);
  w.Table("folders");
  if (p.file_folders)
    w.TextArray("files", *p.file_folders);
  if (p.shortcut_folders)
    w.TextArray("shortcuts", *p.shortcut_folders);
  w.Table("scripts");
  for (size_t i = 0; i < GlobalScriptKeys().size(); ++i)
    ScriptIf(w, GlobalScriptKeys()[i], p.data.Scripts[i]);
}

template <typename Texts>
void WriteMessageDiff(TomlWriter& w, const TSetupMessage& table, const Texts& base) {
  for (int i = 0; i < kMessageCount; ++i) {
    if (table.Texts[i] != base[i])
      w.Text(std::to_string(i), table.Texts[i]);
  }
}

// [messages] changes the default texts; each language starts from that table.
void WriteLanguages(TomlWriter& w, const Project& p) {
  w.Table("messages");
  WriteMessageDiff(w, p.data.LanguageLessMessages, DefaultMessageTexts());
  for (const TSetupLanguage& lang : p.data.Languages) {
    w.ArrayTable("language");
    w.Text("name", lang.Name);
    U32If(w, "id", lang.LanguageId);
    ByteIf(w, "default", lang.IsDefault);
    w.Table("language.messages");
    WriteMessageDiff(w, lang.Messages, p.data.LanguageLessMessages.Texts);
  }
}

}  // namespace

std::string WriteProjectText(const Project& project) {
  TomlWriter w;
  WritePackageTable(w, project);
  WriteSoftware(w, project);
  WriteRequirements(w, project);
  WriteAppearance(w, project);
  WriteOptions(w, project);
  WriteSettings(w, project);
  WriteLanguages(w, project);
  WriteDialogs(w, project);
  WriteArchivedFiles(w, project);
  WriteRecordLists(w, project);
  return w.Take();
}

}  // namespace kvb::pack
