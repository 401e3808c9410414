#include "base/text.h"
#include "setupdata/dialog_io.h"
#include "project_reader_parts.h"
#include "script_syntax.h"

namespace kvb::pack {
namespace {

std::string FontString(const TFontRecord& f) {
  return f.FaceName + "|" + std::to_string(f.Size) + "|" +
         std::to_string(static_cast<int32_t>(f.Color)) + "|" + std::to_string(f.Style) + "|" +
         std::to_string(f.Charset) + "|";
}

// A string slot: a string is stored as written; other forms are converted by the slot's
// type (a flag from true/false, a number or colour in signed decimal, a name of a button
// type or shape, a font from a table).
void ReadSlot(TableReader& r,
              const SlotInfo& slot,
              const TFontRecord& base_font,
              std::string& out) {
  const TomlNode* v = r.node().Find(slot.key);
  if (!v || v->type == TomlNode::Type::kString) {
    r.Text(slot.key, out, kFixedTextLength);
    return;
  }
  if (slot.type == SlotType::kFlag && v->type == TomlNode::Type::kBool) {
    r.Get(slot.key);
    out = v->boolean ? "1" : "0";
  } else if (slot.type == SlotType::kFont && v->type == TomlNode::Type::kTable) {
    TFontRecord font = base_font;
    r.Font(slot.key, font);
    out = FontString(font);
  } else if (slot.type == SlotType::kColor && v->type == TomlNode::Type::kInteger) {
    uint32_t color = 0;
    if (r.U32(slot.key, color))
      out = std::to_string(static_cast<int32_t>(color));
  } else if (v->type == TomlNode::Type::kInteger && slot.type != SlotType::kFont) {
    int32_t number = 0;
    if (r.I32(slot.key, number))
      out = std::to_string(number);
  } else {
    r.Get(slot.key);
    r.Error(*v, std::string(slot.key) + " must be a string, not " + TypeName(v->type));
  }
}

void ReadSlotNames(TableReader& r, const SlotInfo& slot, NameList names, std::string& out) {
  const TFontRecord unused;
  const TomlNode* v = r.node().Find(slot.key);
  if (v && v->type == TomlNode::Type::kString) {
    if (const std::optional<uint32_t> value = ValueOfName(names, v->text)) {
      r.Get(slot.key);
      out = std::to_string(*value);
      return;
    }
  }
  ReadSlot(r, slot, unused, out);
}

void CheckKindAndRole(TableReader& r, const TSetupControl& c) {
  const TomlNode* kind = r.node().Find("kind");
  const TomlNode* role = r.node().Find("role");
  if (c.Kind < 1 || c.Kind > kMaxControlKind) {
    r.Error(kind ? *kind : r.node(),
            "control kind " + std::to_string(c.Kind) + " is out of range (1 to " +
                std::to_string(kMaxControlKind) + "); write unchecked = true to store it anyway");
  } else if (c.Role > kMaxControlRole) {
    r.Error(*role, "control role " + std::to_string(c.Role) + " is out of range (0 to " +
                       std::to_string(kMaxControlRole) +
                       "); write unchecked = true to store it anyway");
  } else if (!RoleFitsKind(c.Role, c.Kind)) {
    r.Error(*role, "role \"" + std::string(NameOfValue(ControlRoleNames(), c.Role)) +
                       "\" does not apply to a " +
                       std::string(NameOfValue(ControlKindNames(), c.Kind)) + " control");
  }
}

// A font given as a table starts from the dialog's font.
TSetupControl ReadControl(TableReader& r, const TFontRecord& dialog_font) {
  TSetupControl c;
  if (!r.node().Find("kind"))
    r.Error(r.node(), "a control needs a kind");
  const bool kind_ok = r.Enum8("kind", ControlKindNames(), c.Kind);
  r.Text("variable", c.Variable, kFixedTextLength);
  const bool role_ok = r.Enum8("role", ControlRoleNames(), c.Role) || !r.node().Find("role");
  bool unchecked = false;
  r.Bool("unchecked", unchecked);
  if (!unchecked && kind_ok && role_ok)
    CheckKindAndRole(r, c);
  r.I32("left", c.Left);
  r.I32("top", c.Top);
  r.I32("height", c.Height);
  r.I32("width", c.Width);
  const std::array<SlotInfo, 6> slots = ControlSlots(c.Kind, c.Role);
  for (int i = 0; i < StoredStringCount(c.Kind); ++i) {
    if (slots[i].type == SlotType::kButtonType) {
      ReadSlotNames(r, slots[i], ButtonTypeNames(), c.Strings[i]);
    } else if (slots[i].type == SlotType::kShape) {
      ReadSlotNames(r, slots[i], ShapeNames(), c.Strings[i]);
    } else {
      ReadSlot(r, slots[i], dialog_font, c.Strings[i]);
    }
  }
  ReadScriptValue(r, "script", c.Script);
  return c;
}

TSetupDialog ReadDialog(TableReader& r, const TFontRecord& package_font) {
  TSetupDialog d;
  d.Font = package_font;
  if (!r.Text("name", d.Name, kFixedTextLength))
    r.Error(r.node(), "a dialog needs a name");
  r.Text("title", d.Title, kFixedTextLength);
  r.I32("height", d.Height);
  r.I32("width", d.Width);
  r.Font("font", d.Font);
  r.Enum8("type", DialogTypeNames(), d.Type);
  r.Text("style", d.Style, kFixedTextLength);
  for (size_t i = 0; i < DialogScriptKeys().size(); ++i) {
    ReadScriptValue(r, DialogScriptKeys()[i], d.Scripts[i]);
  }
  for (const TomlNode* t : r.Tables("control")) {
    TableReader cr(*t, r.diag(), "[[dialog.control]]");
    d.Controls.push_back(ReadControl(cr, d.Font));
    cr.Finish();
  }
  return d;
}

}  // namespace

void ReadScriptValue(TableReader& table, std::string_view key, TScript& out) {
  const TomlNode* v = table.Get(key);
  if (!v)
    return;
  if (v->type == TomlNode::Type::kInteger && v->integer < 0 && v->integer >= INT32_MIN) {
    out = TScript{static_cast<int32_t>(v->integer), {}};
    return;
  }
  if (v->type != TomlNode::Type::kString) {
    table.Error(*v, std::string(key) +
                        " must be a script text (or a negative count for an "
                        "absent script), not " +
                        TypeName(v->type));
    return;
  }
  const ScriptOrigin origin{v->text_pos.file, v->text_pos.line, v->text_pos.column,
                            v->text_verbatim};
  out = ParseScript(v->text, origin, table.diag());
}

void ReadDialogs(TableReader& root, Project& p) {
  std::vector<std::pair<std::string, SourcePos>> names;
  for (const TomlNode* t : root.Tables("dialog")) {
    TableReader r(*t, root.diag(), "[[dialog]]");
    TSetupDialog d = ReadDialog(r, p.data.Properties.Font);
    r.Finish();
    for (const auto& [name, pos] : names) {
      if (SameText(name, d.Name)) {
        root.diag().Error(t->pos, "a dialog named \"" + d.Name + "\" is already defined at line " +
                                      std::to_string(pos.line));
      }
    }
    names.emplace_back(d.Name, t->pos);
    p.data.Dialogs.push_back(std::move(d));
  }
  for (size_t i = 0; i < p.data.Dialogs.size(); ++i) {
    const std::string& style = p.data.Dialogs[i].Style;
    bool found = style.empty();
    for (const TSetupDialog& d : p.data.Dialogs)
      found = found || SameText(d.Name, style);
    if (!found) {
      const TomlNode* t = root.Tables("dialog")[i];
      const TomlNode* v = t->Find("style");
      root.diag().Error(v ? v->pos : t->pos, "style \"" + style + "\" names no dialog");
    }
  }
}

}  // namespace kvb::pack
