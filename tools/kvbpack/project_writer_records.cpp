#include "base/text.h"
#include "codepage.h"
#include "platforms.h"
#include "project_writer_parts.h"
#include "registry_check.h"
#include "setupdata/dialog_io.h"

namespace kvb::pack {
namespace {

// A slot's text as written: flags as true/false, button types and shapes by name.
void WriteSlot(TomlWriter& w, const SlotInfo& slot, const std::string& text) {
  if (text.empty() || slot.key.empty())
    return;
  if (slot.type == SlotType::kFlag && (text == "1" || text == "0")) {
    w.Bool(slot.key, text == "1");
    return;
  }
  if (slot.type == SlotType::kButtonType || slot.type == SlotType::kShape) {
    const NameList names = slot.type == SlotType::kShape ? ShapeNames() : ButtonTypeNames();
    for (const NamedValue& n : names) {
      if (text == std::to_string(n.value)) {
        w.Utf8(slot.key, n.name);
        return;
      }
    }
  }
  w.Text(slot.key, text);
}

void WriteControl(TomlWriter& w, const TSetupControl& c) {
  w.ArrayTable("dialog.control");
  const bool sound = c.Kind >= 1 && c.Kind <= kMaxControlKind && c.Role <= kMaxControlRole &&
                     RoleFitsKind(c.Role, c.Kind);
  EnumIf(w, "kind", ControlKindNames(), c.Kind, 0xFFFFFFFF);
  TextIf(w, "variable", c.Variable);
  EnumIf(w, "role", ControlRoleNames(), c.Role, 0);
  if (!sound)
    w.Bool("unchecked", true);
  I32If(w, "left", c.Left);
  I32If(w, "top", c.Top);
  I32If(w, "height", c.Height);
  I32If(w, "width", c.Width);
  const std::array<SlotInfo, 6> slots = ControlSlots(c.Kind, c.Role);
  for (int i = 0; i < StoredStringCount(c.Kind); ++i)
    WriteSlot(w, slots[i], c.Strings[i]);
  ScriptIf(w, "script", c.Script);
}

void WriteFileRecord(TomlWriter& w, const ProjectFile& f, const TSetupFile& def) {
  const TSetupFile& r = f.record;
  w.Utf8("source", f.source);
  const std::optional<std::string> default_name = Utf8ToAnsi(ExtractFileName(f.source));
  if (!default_name || r.SourceName != *default_name)
    w.Text("name", r.SourceName);
  TextIf(w, "dest-dir", r.DestDir, def.DestDir);
  EnumIf(w, "overwrite", OverwriteModeNames(), r.OverwriteMode, def.OverwriteMode);
  ByteIf(w, "extra-flag-1", r.ExtraFlag1, def.ExtraFlag1);
  ByteIf(w, "extra-flag-2", r.ExtraFlag2);
  TextIf(w, "extra-text-1", r.ExtraText1);
  ByteIf(w, "shared", r.SharedFile);
  ByteIf(w, "self-register", r.SelfRegister);
  ByteIf(w, "type-library", r.TypeLibrary);
  ByteIf(w, "palm", r.PalmFile);
  ByteIf(w, "activex", r.ActiveX);
  ByteIf(w, "extra-flag-3", r.ExtraFlag3);
  TextIf(w, "extra-text-2", r.ExtraText2);
  ByteIf(w, "install-font", r.FontFlag);
  TextIf(w, "font-name", r.FontName);
  TextIf(w, "extra-text-3", r.ExtraText3);
  TextIf(w, "components", r.Components);
  TextIf(w, "group", r.Group);
  if (f.entry)
    w.Integer("entry", *f.entry);
  DateIf(w, "date", f.date);
}

std::string VersionText(const FileVersion& v) {
  return std::to_string(v.high >> 16) + "." + std::to_string(v.high & 0xFFFF) + "." +
         std::to_string(v.low >> 16) + "." + std::to_string(v.low & 0xFFFF);
}

void WriteComponents(TomlWriter& w, const Project& p) {
  for (size_t i = 0; i < p.data.Components.size(); ++i) {
    const TSetupComponent& c = p.data.Components[i].Component;
    const ComponentArchive& a = p.component_archives[i];
    w.ArrayTable("component");
    w.Text("name", c.Name);
    TextIf(w, "description", c.Description);
    TextIf(w, "picture", c.Text3);
    if (a.span)
      w.Integer("span", *a.span);
    if (a.progress_base)
      w.Integer("progress-base", *a.progress_base);
    if (a.offset)
      w.Integer("archive-offset", *a.offset);
    if (a.message)
      w.Text("archive-message", *a.message);
  }
  for (const THotSyncConduit& c : p.data.Conduits) {
    w.ArrayTable("conduit");
    TextIf(w, "creator", c.Creator);
    EnumIf(w, "kind", ConduitKindNames(), c.Kind, 0);
    TextIf(w, "conduit-file", c.ConduitFile);
    TextIf(w, "directory", c.Directory);
    TextIf(w, "remote-database", c.RemoteDatabase);
    TextIf(w, "file-name", c.FileName);
    TextIf(w, "name", c.Name);
    TextIf(w, "information", c.Information);
    U32If(w, "priority", c.Priority);
    TextIf(w, "module", c.Module);
    ByteIf(w, "com-flag", c.ComFlag);
    TextIf(w, "com-client", c.ComClient);
  }
}

void WriteVariablesAndBackground(TomlWriter& w, const Project& p) {
  for (const TSetupVariable& v : p.data.Variables) {
    w.ArrayTable("variable");
    w.Text("name", v.Name);
    TextIf(w, "value", v.Source.Data);
    ByteIf(w, "folder", v.Flag);
    RegChangeFields(w, v.Source, 0);
  }
  for (const TSetupBackItem& b : p.data.BackItems) {
    w.ArrayTable("background-item");
    EnumIf(w, "kind", BackItemKindNames(), b.Kind, 0);
    EnumIf(w, "corner", CornerNames(), b.Flag1, 0);
    EnumIf(w, "slide-in", SlideInNames(), b.Flag2, 0);
    if (b.Kind == 0) {
      TextIf(w, "caption", b.Caption);
      FontIf(w, "font", b.Font, p.data.Properties.Font);
      HexIf(w, "shadow-color", b.TextValue);
      ByteIf(w, "shadow", b.TextFlag);
    } else {
      TextIf(w, "picture", b.PictureFile);
      HexIf(w, "transparent-color", b.PictureValue);
      ByteIf(w, "transparent", b.PictureFlag);
    }
  }
}

void WriteShortcutsAndRegistry(TomlWriter& w, const Project& p) {
  const TSetupShortcut def = DefaultShortcut();
  for (const TSetupShortcut& s : p.data.Shortcuts) {
    w.ArrayTable("shortcut");
    w.Text("name", s.Name);
    w.Text("target", s.Target);
    TextIf(w, "arguments", s.Arguments);
    TextIf(w, "description", s.Description);
    EnumIf(w, "show", ShowCommandNames(), s.ShowCmd, def.ShowCmd);
    TextIf(w, "folder", s.Folder, def.Folder);
    TextIf(w, "icon-file", s.IconFile);
    U32If(w, "icon-index", s.IconIndex);
    ByteIf(w, "extra-flag-1", s.ExtraFlag1);
    ByteIf(w, "extra-flag-2", s.ExtraFlag2);
    TextIf(w, "extra-text-1", s.ExtraText1);
    TextIf(w, "extra-text-2", s.ExtraText2);
    TextIf(w, "components", s.Components);
    TextIf(w, "group", s.Group);
  }
  for (const TSetupRegChange& c : p.data.RegChanges) {
    w.ArrayTable("registry");
    RegChangeFields(w, c, 2);
    TextIf(w, "data", c.Data);
    if (!RegistryDataProblem(c).empty())
      w.Bool("unchecked", true);
  }
}

void WritePlatforms(TomlWriter& w, const Project& p) {
  for (const TSetupPlatform& pl : p.data.Platforms) {
    w.ArrayTable("platform");
    w.Text("name", pl.Name);
    if (FindKnownPlatform(pl.Name) == pl)
      continue;
    // Every field, so that a name that happens to be known does not fill in others.
    w.Text("incompatible", pl.IncompatiblePlatforms);
    w.Hex("cpu-mask", pl.CpuMask);
    w.Hex("native-cpu-mask", pl.SecondCpuMask);
    w.Text("min-version", pl.MinVersion);
    w.Text("max-version", pl.MaxVersion);
  }
}

}  // namespace

void WriteDialogs(TomlWriter& w, const Project& p) {
  for (const TSetupDialog& d : p.data.Dialogs) {
    w.ArrayTable("dialog");
    w.Text("name", d.Name);
    TextIf(w, "title", d.Title);
    I32If(w, "height", d.Height);
    I32If(w, "width", d.Width);
    FontIf(w, "font", d.Font, p.data.Properties.Font);
    EnumIf(w, "type", DialogTypeNames(), d.Type, 0);
    TextIf(w, "style", d.Style);
    for (size_t i = 0; i < DialogScriptKeys().size(); ++i)
      ScriptIf(w, DialogScriptKeys()[i], d.Scripts[i]);
    for (const TSetupControl& c : d.Controls)
      WriteControl(w, c);
  }
}

void WriteArchivedFiles(TomlWriter& w, const Project& p) {
  const TSetupFile temp_def = DefaultTempFile();
  for (const ProjectFile& f : p.temp_files) {
    w.ArrayTable("temp-file");
    WriteFileRecord(w, f, temp_def);
  }
  const TSetupFile file_def = DefaultPackageFile();
  for (const ProjectFile& f : p.files) {
    w.ArrayTable("file");
    WriteFileRecord(w, f, file_def);
    if (f.version)
      w.Utf8("version", VersionText(*f.version));
    DateIf(w, "archive-date", f.archive_date);
    if (f.size)
      w.Integer("size", *f.size);
    if (f.block)
      w.Text("block", *f.block);
  }
}

void WriteRecordLists(TomlWriter& w, const Project& p) {
  WriteVariablesAndBackground(w, p);
  WriteComponents(w, p);
  w.Table("device");
  TextIf(w, "folder", p.data.Properties.DeviceGroup.Folder);
  TextIf(w, "cab-files", p.data.Properties.DeviceGroup.CabFiles);
  for (const TSetupDeviceFileGroup& g : p.data.DeviceGroups) {
    w.ArrayTable("device-group");
    TextIf(w, "name", g.Name);
    TextIf(w, "folder", g.Folder);
    TextIf(w, "description", g.Text3);
    TextIf(w, "text-4", g.Text4);
    TextIf(w, "cab-files", g.CabFiles);
  }
  WriteShortcutsAndRegistry(w, p);
  WritePlatforms(w, p);
}

}  // namespace kvb::pack
