#include "setupdata/record_io.h"

namespace kvb {

TFontRecord ReadFont(ByteReader& in) {
  TFontRecord font;
  font.FaceName = in.ZStr(kFixedTextLength);
  font.Size = in.U32();
  font.Color = in.U32();
  font.Style = in.U8();
  font.Charset = in.U8();
  return font;
}

void WriteFont(ByteWriter& out, const TFontRecord& font) {
  out.ZStr(font.FaceName);
  out.U32(font.Size);
  out.U32(font.Color);
  out.U8(font.Style);
  out.U8(font.Charset);
}

TSetupFile ReadSetupFile(ByteReader& in, StreamForm form) {
  TSetupFile f;
  f.SourceName = in.ZStr();
  f.DestDir = in.ZStr();
  f.OverwriteMode = in.U8();
  f.ExtraFlag1 = in.U8();
  if (form == StreamForm::kCurrent)
    f.ExtraFlag2 = in.U8();
  f.ExtraText1 = in.ZStr();
  f.SharedFile = in.U8();
  f.SelfRegister = in.U8();
  f.TypeLibrary = in.U8();
  f.PalmFile = in.U8();
  f.ActiveX = in.U8();
  f.ExtraFlag3 = in.U8();
  f.ExtraText2 = in.ZStr();
  f.FontFlag = in.U8();
  f.FontName = in.ZStr();
  f.ExtraText3 = in.ZStr();
  f.Components = in.ZStr();
  f.Group = in.ZStr();
  return f;
}

void WriteSetupFile(ByteWriter& out, const TSetupFile& f, StreamForm form) {
  out.ZStr(f.SourceName);
  out.ZStr(f.DestDir);
  out.U8(f.OverwriteMode);
  out.U8(f.ExtraFlag1);
  if (form == StreamForm::kCurrent)
    out.U8(f.ExtraFlag2);
  out.ZStr(f.ExtraText1);
  out.U8(f.SharedFile);
  out.U8(f.SelfRegister);
  out.U8(f.TypeLibrary);
  out.U8(f.PalmFile);
  out.U8(f.ActiveX);
  out.U8(f.ExtraFlag3);
  out.ZStr(f.ExtraText2);
  out.U8(f.FontFlag);
  out.ZStr(f.FontName);
  out.ZStr(f.ExtraText3);
  out.ZStr(f.Components);
  out.ZStr(f.Group);
}

TSetupShortcut ReadShortcut(ByteReader& in, StreamForm form) {
  TSetupShortcut s;
  s.Name = in.ZStr();
  s.Target = in.ZStr();
  s.Arguments = in.ZStr();
  s.Description = in.ZStr();
  s.ShowCmd = in.U32();
  s.Folder = in.ZStr();
  s.IconFile = in.ZStr();
  s.IconIndex = in.U32();
  s.ExtraFlag1 = in.U8();
  if (form == StreamForm::kCurrent)
    s.ExtraFlag2 = in.U8();
  s.ExtraText1 = in.ZStr();
  s.ExtraText2 = in.ZStr();
  s.Components = in.ZStr();
  s.Group = in.ZStr();
  return s;
}

void WriteShortcut(ByteWriter& out, const TSetupShortcut& s, StreamForm form) {
  out.ZStr(s.Name);
  out.ZStr(s.Target);
  out.ZStr(s.Arguments);
  out.ZStr(s.Description);
  out.U32(s.ShowCmd);
  out.ZStr(s.Folder);
  out.ZStr(s.IconFile);
  out.U32(s.IconIndex);
  out.U8(s.ExtraFlag1);
  if (form == StreamForm::kCurrent)
    out.U8(s.ExtraFlag2);
  out.ZStr(s.ExtraText1);
  out.ZStr(s.ExtraText2);
  out.ZStr(s.Components);
  out.ZStr(s.Group);
}

TSetupRegChange ReadRegChange(ByteReader& in, StreamForm form) {
  TSetupRegChange r;
  r.Root = in.U8();
  r.Key = in.ZStr();
  r.ValueType = in.U32();
  r.ValueName = in.ZStr();
  r.Data = in.ZStr();
  r.ExtraFlag1 = in.U8();
  if (form == StreamForm::kCurrent)
    r.ExtraFlag2 = in.U8();
  r.ExtraText1 = in.ZStr();
  r.ExtraText2 = in.ZStr();
  r.Components = in.ZStr();
  r.Group = in.ZStr();
  return r;
}

void WriteRegChange(ByteWriter& out, const TSetupRegChange& r, StreamForm form) {
  out.U8(r.Root);
  out.ZStr(r.Key);
  out.U32(r.ValueType);
  out.ZStr(r.ValueName);
  out.ZStr(r.Data);
  out.U8(r.ExtraFlag1);
  if (form == StreamForm::kCurrent)
    out.U8(r.ExtraFlag2);
  out.ZStr(r.ExtraText1);
  out.ZStr(r.ExtraText2);
  out.ZStr(r.Components);
  out.ZStr(r.Group);
}

TSetupBackItem ReadBackItem(ByteReader& in, StreamForm form) {
  TSetupBackItem b;
  b.Kind = in.U8();
  b.Flag1 = in.U8();
  if (form == StreamForm::kCurrent)
    b.Flag2 = in.U8();
  if (b.Kind != 0) {
    b.PictureFile = in.ZStr();
    b.PictureValue = in.U32();
    b.PictureFlag = in.U8();
  } else {
    b.Caption = in.ZStr();
    b.Font = ReadFont(in);
    b.TextValue = in.U32();
    b.TextFlag = in.U8();
  }
  return b;
}

void WriteBackItem(ByteWriter& out, const TSetupBackItem& b, StreamForm form) {
  out.U8(b.Kind);
  out.U8(b.Flag1);
  if (form == StreamForm::kCurrent)
    out.U8(b.Flag2);
  if (b.Kind != 0) {
    out.ZStr(b.PictureFile);
    out.U32(b.PictureValue);
    out.U8(b.PictureFlag);
  } else {
    out.ZStr(b.Caption);
    WriteFont(out, b.Font);
    out.U32(b.TextValue);
    out.U8(b.TextFlag);
  }
}

TSetupVariable ReadVariable(ByteReader& in) {
  TSetupVariable v;
  v.Name = in.ZStr();
  v.Source = ReadRegChange(in);
  v.Flag = in.U8();
  return v;
}

void WriteVariable(ByteWriter& out, const TSetupVariable& v) {
  out.ZStr(v.Name);
  WriteRegChange(out, v.Source);
  out.U8(v.Flag);
}

TInstallerComponent ReadComponent(ByteReader& in) {
  TInstallerComponent c;
  c.Component.Name = in.ZStr();
  c.Component.Description = in.ZStr();
  c.Component.Text3 = in.ZStr();
  c.ArchiveOffset = in.U32();
  c.ArchiveSpan = in.U32();
  c.ProgressBase = in.U32();
  return c;
}

void WriteComponent(ByteWriter& out, const TInstallerComponent& c) {
  out.ZStr(c.Component.Name);
  out.ZStr(c.Component.Description);
  out.ZStr(c.Component.Text3);
  out.U32(c.ArchiveOffset);
  out.U32(c.ArchiveSpan);
  out.U32(c.ProgressBase);
}

THotSyncConduit ReadConduit(ByteReader& in) {
  THotSyncConduit c;
  c.Creator = in.ZStr();
  c.Kind = in.U8();
  c.ConduitFile = in.ZStr();
  c.Directory = in.ZStr();
  c.RemoteDatabase = in.ZStr();
  c.FileName = in.ZStr();
  c.Name = in.ZStr();
  c.Information = in.ZStr();
  c.Priority = in.U8();
  c.Module = in.ZStr();
  c.ComFlag = in.U8();
  c.ComClient = in.ZStr();
  return c;
}

void WriteConduit(ByteWriter& out, const THotSyncConduit& c) {
  out.ZStr(c.Creator);
  out.U8(c.Kind);
  out.ZStr(c.ConduitFile);
  out.ZStr(c.Directory);
  out.ZStr(c.RemoteDatabase);
  out.ZStr(c.FileName);
  out.ZStr(c.Name);
  out.ZStr(c.Information);
  out.U8(c.Priority);
  out.ZStr(c.Module);
  out.U8(c.ComFlag);
  out.ZStr(c.ComClient);
}

TSetupDeviceFileGroup ReadDeviceGroup(ByteReader& in) {
  TSetupDeviceFileGroup g;
  g.Name = in.ZStr();
  g.Folder = in.ZStr();
  g.Text3 = in.ZStr();
  g.Text4 = in.ZStr();
  g.CabFiles = in.ZStr();
  return g;
}

void WriteDeviceGroup(ByteWriter& out, const TSetupDeviceFileGroup& g) {
  out.ZStr(g.Name);
  out.ZStr(g.Folder);
  out.ZStr(g.Text3);
  out.ZStr(g.Text4);
  out.ZStr(g.CabFiles);
}

TSetupPlatform ReadPlatform(ByteReader& in) {
  TSetupPlatform p;
  p.Name = in.ZStr();
  p.IncompatiblePlatforms = in.ZStr();
  p.CpuMask = in.U32();
  p.SecondCpuMask = in.U32();
  p.MinVersion = in.ZStr();
  p.MaxVersion = in.ZStr();
  return p;
}

void WritePlatform(ByteWriter& out, const TSetupPlatform& p) {
  out.ZStr(p.Name);
  out.ZStr(p.IncompatiblePlatforms);
  out.U32(p.CpuMask);
  out.U32(p.SecondCpuMask);
  out.ZStr(p.MinVersion);
  out.ZStr(p.MaxVersion);
}

TSetupInstallerFile ReadTempFile(ByteReader& in) {
  TSetupInstallerFile f;
  f.EntryIndex = in.U32();
  f.File = ReadSetupFile(in);
  return f;
}

void WriteTempFile(ByteWriter& out, const TSetupInstallerFile& f) {
  out.U32(f.EntryIndex);
  WriteSetupFile(out, f.File);
}

TSetupInstallerFile ReadDeviceFile(ByteReader& in) {
  TSetupInstallerFile f;
  f.EntryIndex = in.U32();
  f.VersionHigh = in.U32();
  f.VersionLow = in.U32();
  f.FileDate = in.U32();
  const uint32_t size = in.U32();
  f.File = ReadSetupFile(in);
  f.File.Size = size;
  return f;
}

void WriteDeviceFile(ByteWriter& out, const TSetupInstallerFile& f) {
  out.U32(f.EntryIndex);
  out.U32(f.VersionHigh);
  out.U32(f.VersionLow);
  out.U32(f.FileDate);
  out.U32(f.File.Size);
  WriteSetupFile(out, f.File);
}

}  // namespace kvb
