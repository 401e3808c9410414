#include "setupdata/dialog_io.h"

#include "setupdata/record_io.h"

namespace kvb {

int StoredStringCount(uint8_t kind) {
  switch (kind) {
    case 1:
    case 11:
      return 3;
    case 2:
    case 8:
      return 4;
    case 3:
    case 5:
      return 5;
    case 4:
    case 6:
    case 7:
      return 6;
    case 9:
      return 1;
    case 13:
      return 2;
    default:
      return 0;
  }
}

TSetupControl ReadControl(ByteReader& in, TextForm scripts) {
  TSetupControl c;
  c.Kind = in.U8();
  c.Variable = in.ZStr(kFixedTextLength);
  c.Role = in.U8();
  c.Left = in.I32();
  c.Top = in.I32();
  c.Height = in.I32();
  c.Width = in.I32();
  const int strings = StoredStringCount(c.Kind);
  for (int i = 0; i < strings; ++i)
    c.Strings[i] = in.ZStr(kFixedTextLength);
  c.Script = ReadScript(in, scripts);
  return c;
}

void WriteControl(ByteWriter& out, const TSetupControl& c, TextForm scripts) {
  out.U8(c.Kind);
  out.ZStr(c.Variable);
  out.U8(c.Role);
  out.I32(c.Left);
  out.I32(c.Top);
  out.I32(c.Height);
  out.I32(c.Width);
  const int strings = StoredStringCount(c.Kind);
  for (int i = 0; i < strings; ++i)
    out.ZStr(c.Strings[i]);
  WriteScript(out, c.Script, scripts);
}

TSetupDialog ReadDialog(ByteReader& in, TextForm scripts) {
  TSetupDialog d;
  d.Name = in.ZStr(kFixedTextLength);
  d.Title = in.ZStr(kFixedTextLength);
  d.Height = in.I32();
  d.Width = in.I32();
  d.Font = ReadFont(in);
  d.Type = in.U8();
  d.Style = in.ZStr(kFixedTextLength);
  const uint32_t count = in.Count(in.U32(), kMinControlSize);
  d.Controls.reserve(count);
  for (uint32_t i = 0; i < count; ++i)
    d.Controls.push_back(ReadControl(in, scripts));
  for (TScript& script : d.Scripts)
    script = ReadScript(in, scripts);
  return d;
}

void WriteDialog(ByteWriter& out, const TSetupDialog& d, TextForm scripts) {
  out.ZStr(d.Name);
  out.ZStr(d.Title);
  out.I32(d.Height);
  out.I32(d.Width);
  WriteFont(out, d.Font);
  out.U8(d.Type);
  out.ZStr(d.Style);
  out.U32(static_cast<uint32_t>(d.Controls.size()));
  for (const TSetupControl& c : d.Controls)
    WriteControl(out, c, scripts);
  for (const TScript& script : d.Scripts)
    WriteScript(out, script, scripts);
}

}  // namespace kvb
