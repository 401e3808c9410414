// The text syntax of scripts in project files, and its printer.
//
// One statement a line: a command name (or "CODE n" for any stored code), its arguments
// as quoted texts separated by commas, and an optional guard: `when "<condition>"`.
// Inside quotes a doubled quote stands for one; characters may also be written by
// number outside quotes and joined to quoted pieces: "line"#13#10. Lines starting with
// '#' are comments. Block openers may leave out their identifier (IF, WHILE: the only
// argument; FOR: the fourth; FOREACHSELECTED: the third), markers (ELSE, ENDIF, ENDFOR,
// ENDWHILE, ENDFOREACH) may leave out theirs and then close the innermost open block.
//
//   IF when "%IsNT% = 1|"
//     SET "%Done%", "1"
//   ELSE
//     MESSAGE "Setup", "Needs Windows NT", "ERROR"
//   ENDIF
//
// Statements written with a command name are checked: argument counts, matching and
// properly nested blocks, 1000-character fields. "CODE n" statements are stored as
// written, without block checks.
#pragma once

#include <string>
#include <string_view>

#include "diagnostics.h"
#include "setupdata/records.h"

namespace kvb::pack {

// Where a script's text starts in its project file. With `exact`, line k of the text is
// file line `line` + k, and its columns count from `column` on the first line and from 1
// on the others; otherwise every diagnostic points at (`line`, `column`).
struct ScriptOrigin {
  std::string file;
  int line = 0;
  int column = 0;
  bool exact = false;
};

// Parses UTF-8 script text into a script (texts in the package code page). Every mistake
// is added to `diag`; the returned script is then incomplete.
TScript ParseScript(std::string_view text, const ScriptOrigin& origin, Diagnostics& diag);

// Prints a script in the syntax above (UTF-8), one statement a line, blocks indented by
// two blanks. ParseScript of the result gives the same statements. A script whose blocks
// do not nest properly is printed with its block statements in the CODE form.
std::string PrintScript(const TScript& script);

}  // namespace kvb::pack
