#include "script_blocks.h"

#include "base/text.h"
#include "setupdata/command_table.h"

namespace kvb::pack {

std::optional<BlockRole> BlockRoleOf(uint32_t code) {
  switch (code) {
    case kCmdIf:
      return BlockRole{BlockRole::kOpener, kCmdIf, 0};
    case kCmdElse:
      return BlockRole{BlockRole::kMiddle, kCmdIf, 0};
    case kCmdEndIf:
      return BlockRole{BlockRole::kEnd, kCmdIf, 0};
    case kCmdFor:
      return BlockRole{BlockRole::kOpener, kCmdFor, 3};
    case kCmdEndFor:
      return BlockRole{BlockRole::kEnd, kCmdFor, 0};
    case kCmdWhile:
      return BlockRole{BlockRole::kOpener, kCmdWhile, 0};
    case kCmdEndWhile:
      return BlockRole{BlockRole::kEnd, kCmdWhile, 0};
    case kCmdForEachSelected:
      return BlockRole{BlockRole::kOpener, kCmdForEachSelected, 2};
    case kCmdEndForEach:
      return BlockRole{BlockRole::kEnd, kCmdForEachSelected, 0};
    default:
      return std::nullopt;
  }
}

std::string GeneratedBlockId(uint8_t opener, size_t statement_index) {
  return LowerText(GetCommandInfo(opener).name) + std::to_string(statement_index);
}

namespace {

struct OpenBlock {
  size_t statement;
  uint8_t opener;
  std::string id;
  bool has_else = false;
};

std::string Describe(const OpenBlock& b) {
  return std::string(GetCommandInfo(b.opener).name) + " \"" + b.id + "\"";
}

}  // namespace

std::optional<BlockProblem> CheckBlocks(const std::vector<TScriptStatement>& statements) {
  std::vector<OpenBlock> open;
  for (size_t i = 0; i < statements.size(); ++i) {
    const TScriptStatement& st = statements[i];
    const std::optional<BlockRole> role = BlockRoleOf(st.Code);
    if (!role)
      continue;
    const std::string& id = st.Args[role->id_arg];
    const std::string name(GetCommandInfo(static_cast<uint8_t>(st.Code)).name);
    if (role->kind == BlockRole::kOpener) {
      for (const OpenBlock& b : open) {
        if (b.id == id) {
          return BlockProblem{
              i, "block identifier \"" + id + "\" is already used by the enclosing " + Describe(b)};
        }
      }
      open.push_back({i, role->opener, id});
      continue;
    }
    if (open.empty() || open.back().opener != role->opener) {
      return BlockProblem{
          i, name + " without a matching " + std::string(GetCommandInfo(role->opener).name) +
                 (open.empty() ? "" : " (innermost open block: " + Describe(open.back()) + ")")};
    }
    if (open.back().id != id) {
      return BlockProblem{i, name + " \"" + id + "\" does not match the innermost open block " +
                                 Describe(open.back())};
    }
    if (role->kind == BlockRole::kMiddle) {
      if (open.back().has_else)
        return BlockProblem{i, "second ELSE for " + Describe(open.back())};
      open.back().has_else = true;
    } else {
      open.pop_back();
    }
  }
  if (!open.empty()) {
    const OpenBlock& b = open.back();
    const char* end = b.opener == kCmdIf      ? "ENDIF"
                      : b.opener == kCmdFor   ? "ENDFOR"
                      : b.opener == kCmdWhile ? "ENDWHILE"
                                              : "ENDFOREACH";
    return BlockProblem{b.statement, Describe(b) + " has no " + end};
  }
  return std::nullopt;
}

}  // namespace kvb::pack
