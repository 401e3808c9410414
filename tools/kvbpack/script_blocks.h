// How the script syntax treats the block statements: which codes open a block, which
// mark its middle or end, where the block identifier sits among the arguments, and the
// identifier the syntax gives a block whose identifier is left out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "setupdata/records.h"

namespace kvb::pack {

struct BlockRole {
  enum Kind { kOpener, kMiddle, kEnd } kind;
  uint8_t opener;  // the code that opens the block this statement belongs to
  int id_arg;      // index of the argument holding the block identifier
};

// The block role of a code (IF, ELSE, ENDIF, FOR, ENDFOR, WHILE, ENDWHILE,
// FOREACHSELECTED, ENDFOREACH), or nullopt for every other code.
std::optional<BlockRole> BlockRoleOf(uint32_t code);

// The identifier given to a block opener written without one: the lower-case command
// name followed by the statement's index in the script ("if3", "for12").
std::string GeneratedBlockId(uint8_t opener, size_t statement_index);

// Checks that the block statements of a script nest properly: every opener has its end
// marker, markers close the innermost open block of their kind, at most one ELSE per IF,
// and no block reuses the identifier of a block that encloses it (the runtime matches
// markers by identifier without counting nesting). Returns the index of the first
// statement that breaks the structure and a description, or nullopt when it is sound.
struct BlockProblem {
  size_t statement;
  std::string message;
};
std::optional<BlockProblem> CheckBlocks(const std::vector<TScriptStatement>& statements);

}  // namespace kvb::pack
