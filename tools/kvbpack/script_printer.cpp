#include "base/text.h"
#include "codepage.h"
#include "script_blocks.h"
#include "script_syntax.h"
#include "setupdata/command_table.h"

namespace kvb::pack {
namespace {

// A text as quoted pieces and #n codes: control characters and DEL by number, the rest
// in quotes with quotes doubled.
std::string QuoteArg(const std::string& text) {
  std::string out;
  bool in_quotes = false;
  for (char c : text) {
    const uint8_t byte = static_cast<uint8_t>(c);
    if (byte < 0x20 || byte == 0x7F) {
      if (in_quotes)
        out += '"';
      in_quotes = false;
      out += "#" + std::to_string(byte);
      continue;
    }
    if (!in_quotes)
      out += '"';
    in_quotes = true;
    out += c == '"' ? std::string("\"\"") : AnsiToUtf8(std::string_view(&c, 1));
  }
  if (in_quotes)
    out += '"';
  return out.empty() ? "\"\"" : out;
}

class Printer {
 public:
  explicit Printer(const std::vector<TScriptStatement>& statements)
      : statements_(statements), blocks_sound_(!CheckBlocks(statements)) {}

  std::string Print() {
    std::string out;
    int depth = 0;
    for (size_t i = 0; i < statements_.size(); ++i) {
      const TScriptStatement& st = statements_[i];
      std::optional<BlockRole> role;
      if (blocks_sound_)
        role = BlockRoleOf(st.Code);
      const BlockRole::Kind kind = role ? role->kind : BlockRole::kOpener;
      if (role && kind != BlockRole::kOpener)
        --depth;
      out.append(2 * std::max(depth, 0), ' ');
      out += Statement(i, st, role);
      out += '\n';
      if (role && kind != BlockRole::kEnd)
        ++depth;
    }
    return out;
  }

 private:
  std::string Statement(size_t index,
                        const TScriptStatement& st,
                        const std::optional<BlockRole>& role) const {
    const bool block_code = BlockRoleOf(st.Code).has_value();
    const bool named = st.Code <= 0xFF && !GetCommandInfo(st.CommandCode()).name.empty() &&
                       (!block_code || blocks_sound_);
    std::string out = named ? std::string(GetCommandInfo(st.CommandCode()).name)
                            : "CODE " + std::to_string(st.Code);
    int shown = StoredArgumentCount(st.Code);
    if (role && role->kind != BlockRole::kOpener) {
      shown = 0;  // markers close the innermost block, whose identifier they carry
    } else if (role) {
      if (st.Args[role->id_arg] == GeneratedBlockId(role->opener, index))
        shown = role->id_arg;
    } else {
      while (shown > 0 && st.Args[shown - 1].empty())
        --shown;
    }
    for (int a = 0; a < shown; ++a)
      out += (a ? ", " : " ") + QuoteArg(st.Args[a]);
    if (!st.Guard.empty())
      out += " when " + QuoteArg(st.Guard);
    return out;
  }

  const std::vector<TScriptStatement>& statements_;
  bool blocks_sound_;
};

}  // namespace

std::string PrintScript(const TScript& script) {
  return Printer(script.Statements).Print();
}

}  // namespace kvb::pack
