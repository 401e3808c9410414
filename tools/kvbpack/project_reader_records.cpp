#include "base/text.h"
#include "platforms.h"
#include "project_reader_parts.h"
#include "registry_check.h"

namespace kvb::pack {
namespace {

void ReadFileRecordFields(TableReader& r, TSetupFile& f) {
  r.Text("name", f.SourceName);
  r.Text("dest-dir", f.DestDir);
  r.Enum8("overwrite", OverwriteModeNames(), f.OverwriteMode);
  r.Byte("extra-flag-1", f.ExtraFlag1);
  r.Byte("extra-flag-2", f.ExtraFlag2);
  r.Text("extra-text-1", f.ExtraText1);
  r.Byte("shared", f.SharedFile);
  r.Byte("self-register", f.SelfRegister);
  r.Byte("type-library", f.TypeLibrary);
  r.Byte("palm", f.PalmFile);
  r.Byte("activex", f.ActiveX);
  r.Byte("extra-flag-3", f.ExtraFlag3);
  r.Text("extra-text-2", f.ExtraText2);
  r.Byte("install-font", f.FontFlag);
  r.Text("font-name", f.FontName);
  r.Text("extra-text-3", f.ExtraText3);
  r.TextList("components", f.Components, "|");
  r.Text("group", f.Group);
}

// The fields every archived file has: its data and its record.
ProjectFile ReadArchivedFile(TableReader& r, const TSetupFile& defaults) {
  ProjectFile f;
  f.pos = r.node().pos;
  f.record = defaults;
  const TomlNode* source = r.Get("source");
  if (!source) {
    r.Error(r.node(), r.where() + " needs a source (the file to put into the package)");
  } else if (source->type != TomlNode::Type::kString || source->text.empty()) {
    r.Error(*source, "source must be the path of a file");
  } else {
    f.source = source->text;
    f.source_pos = source->pos;
    // The default entry name is the file name of the source, in the package code page.
    TomlNode name = *source;
    name.text = ExtractFileName(source->text);
    if (std::optional<std::string> ansi = r.ToAnsi(name))
      f.record.SourceName = *ansi;
  }
  ReadFileRecordFields(r, f.record);
  uint32_t value = 0;
  if (r.U32("entry", value))
    f.entry = value;
  if (r.DosDate("date", value))
    f.date = value;
  return f;
}

}  // namespace

void ReadRegChangeFields(TableReader& r, TSetupRegChange& c) {
  r.Enum8("root", RegistryRootNames(), c.Root);
  r.Text("key", c.Key);
  uint32_t type = c.ValueType;
  if (r.Enum("type", RegistryTypeNames(), UINT32_MAX, type))
    c.ValueType = type;
  r.Text("value-name", c.ValueName);
  r.Byte("extra-flag-1", c.ExtraFlag1);
  r.Byte("extra-flag-2", c.ExtraFlag2);
  r.Text("extra-text-1", c.ExtraText1);
  r.Text("extra-text-2", c.ExtraText2);
  r.TextList("components", c.Components, "|");
  r.Text("group", c.Group);
}

void ReadVariables(TableReader& root, Project& p) {
  for (const TomlNode* t : root.Tables("variable")) {
    TableReader r(*t, root.diag(), "[[variable]]");
    TSetupVariable v;
    if (!r.Text("name", v.Name))
      r.Error(*t, "a variable needs a name");
    r.Text("value", v.Source.Data);
    r.Byte("folder", v.Flag);
    ReadRegChangeFields(r, v.Source);
    r.Finish();
    p.data.Variables.push_back(std::move(v));
  }
}

void ReadBackgroundItems(TableReader& root, Project& p) {
  for (const TomlNode* t : root.Tables("background-item")) {
    TableReader r(*t, root.diag(), "[[background-item]]");
    TSetupBackItem item;
    item.Font = p.data.Properties.Font;
    r.Enum8("kind", BackItemKindNames(), item.Kind);
    r.Enum8("corner", CornerNames(), item.Flag1);
    r.Enum8("slide-in", SlideInNames(), item.Flag2);
    if (item.Kind == 0) {
      r.Text("caption", item.Caption);
      r.Font("font", item.Font);
      r.U32("shadow-color", item.TextValue);
      r.Byte("shadow", item.TextFlag);
    } else {
      item.Font = {};
      r.Text("picture", item.PictureFile);
      r.U32("transparent-color", item.PictureValue);
      r.Byte("transparent", item.PictureFlag);
    }
    r.Finish();
    p.data.BackItems.push_back(std::move(item));
  }
}

void ReadComponents(TableReader& root, Project& p) {
  for (const TomlNode* t : root.Tables("component")) {
    TableReader r(*t, root.diag(), "[[component]]");
    TInstallerComponent c;
    ComponentArchive a;
    a.pos = t->pos;
    if (!r.Text("name", c.Component.Name))
      r.Error(*t, "a component needs a name");
    r.Text("description", c.Component.Description);
    r.Text("picture", c.Component.Text3);
    uint32_t value = 0;
    if (r.U32("span", value))
      a.span = value;
    if (r.U32("progress-base", value))
      a.progress_base = value;
    if (r.U32("archive-offset", value))
      a.offset = value;
    std::string text;
    if (r.Text("archive-message", text))
      a.message = text;
    r.Finish();
    p.data.Components.push_back(std::move(c));
    p.component_archives.push_back(std::move(a));
  }
}

void ReadConduits(TableReader& root, Project& p) {
  for (const TomlNode* t : root.Tables("conduit")) {
    TableReader r(*t, root.diag(), "[[conduit]]");
    THotSyncConduit c;
    r.Text("creator", c.Creator);
    r.Enum8("kind", ConduitKindNames(), c.Kind);
    r.Text("conduit-file", c.ConduitFile);
    r.Text("directory", c.Directory);
    r.Text("remote-database", c.RemoteDatabase);
    r.Text("file-name", c.FileName);
    r.Text("name", c.Name);
    r.Text("information", c.Information);
    r.Byte("priority", c.Priority);
    r.Text("module", c.Module);
    r.Byte("com-flag", c.ComFlag);
    r.Text("com-client", c.ComClient);
    r.Finish();
    p.data.Conduits.push_back(std::move(c));
  }
}

void ReadFiles(TableReader& root, Project& p) {
  for (const TomlNode* t : root.Tables("temp-file")) {
    TableReader r(*t, root.diag(), "[[temp-file]]");
    p.temp_files.push_back(ReadArchivedFile(r, DefaultTempFile()));
    r.Finish();
  }
  for (const TomlNode* t : root.Tables("file")) {
    TableReader r(*t, root.diag(), "[[file]]");
    ProjectFile f = ReadArchivedFile(r, DefaultPackageFile());
    FileVersion version;
    if (r.Version("version", version))
      f.version = version;
    uint32_t value = 0;
    if (r.DosDate("archive-date", value))
      f.archive_date = value;
    if (r.U32("size", value))
      f.size = value;
    std::string block;
    if (r.Text("block", block))
      f.block = block;
    if (f.record.FontFlag && f.record.FontName.empty())
      r.Error(*t, "an installed font needs font-name (the name Windows lists the font under)");
    r.Finish();
    p.files.push_back(std::move(f));
  }
}

void ReadDevices(TableReader& root, Project& p) {
  if (const TomlNode* t = root.Table("device")) {
    TableReader r(*t, root.diag(), "[device]");
    r.Text("folder", p.data.Properties.DeviceGroup.Folder);
    r.TextList("cab-files", p.data.Properties.DeviceGroup.CabFiles, "|");
    r.Finish();
  }
  for (const TomlNode* t : root.Tables("device-group")) {
    TableReader r(*t, root.diag(), "[[device-group]]");
    TSetupDeviceFileGroup g;
    r.Text("name", g.Name);
    r.Text("folder", g.Folder);
    r.Text("description", g.Text3);
    r.Text("text-4", g.Text4);
    r.TextList("cab-files", g.CabFiles, "|");
    r.Finish();
    p.data.DeviceGroups.push_back(std::move(g));
  }
}

void ReadShortcuts(TableReader& root, Project& p) {
  for (const TomlNode* t : root.Tables("shortcut")) {
    TableReader r(*t, root.diag(), "[[shortcut]]");
    TSetupShortcut s = DefaultShortcut();
    if (!r.Text("name", s.Name))
      r.Error(*t, "a shortcut needs a name");
    if (!r.Text("target", s.Target))
      r.Error(*t, "a shortcut needs a target");
    r.Text("arguments", s.Arguments);
    r.Text("description", s.Description);
    r.Enum("show", ShowCommandNames(), UINT32_MAX, s.ShowCmd);
    r.Text("folder", s.Folder);
    r.Text("icon-file", s.IconFile);
    r.U32("icon-index", s.IconIndex);
    r.Byte("extra-flag-1", s.ExtraFlag1);
    r.Byte("extra-flag-2", s.ExtraFlag2);
    r.Text("extra-text-1", s.ExtraText1);
    r.Text("extra-text-2", s.ExtraText2);
    r.TextList("components", s.Components, "|");
    r.Text("group", s.Group);
    r.Finish();
    p.data.Shortcuts.push_back(std::move(s));
  }
}

void ReadRegistry(TableReader& root, Project& p) {
  for (const TomlNode* t : root.Tables("registry")) {
    TableReader r(*t, root.diag(), "[[registry]]");
    TSetupRegChange c;
    c.Root = 2;
    ReadRegChangeFields(r, c);
    r.Text("data", c.Data);
    bool unchecked = false;
    r.Bool("unchecked", unchecked);
    const std::string problem = RegistryDataProblem(c);
    if (!unchecked && !problem.empty())
      r.Error(r.Get("data") ? *r.Get("data") : *t,
              problem + "; write unchecked = true to store it anyway");
    r.Finish();
    p.data.RegChanges.push_back(std::move(c));
  }
}

void ReadPlatforms(TableReader& root, Project& p) {
  for (const TomlNode* t : root.Tables("platform")) {
    TableReader r(*t, root.diag(), "[[platform]]");
    TSetupPlatform pl;
    if (!r.Text("name", pl.Name))
      r.Error(*t, "a platform needs a name");
    const std::optional<TSetupPlatform> known = FindKnownPlatform(pl.Name);
    if (known)
      pl = *known;
    // Every key is read (and checked) whether or not an earlier one was given.
    int given = 0;
    given += r.Text("incompatible", pl.IncompatiblePlatforms);
    given += r.U32("cpu-mask", pl.CpuMask);
    given += r.U32("native-cpu-mask", pl.SecondCpuMask);
    given += r.Text("min-version", pl.MinVersion);
    given += r.Text("max-version", pl.MaxVersion);
    const bool complete = given > 0;
    if (!known && !complete) {
      r.Error(*t, "\"" + pl.Name +
                      "\" is not a known platform; give its cpu-mask, versions and "
                      "incompatible platforms (known: HPC, HPC2000, PSPC, BE300, PPC3, SP2002, "
                      "SP2003, WCENET, PPC2002, PPC)");
    }
    r.Finish();
    p.data.Platforms.push_back(std::move(pl));
  }
}

}  // namespace kvb::pack
