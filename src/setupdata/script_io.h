// Stored form of the script command lists: an i32 count, then per statement the u32
// code, the arguments that code stores (StoredArgumentCount) and the guard condition.
// Every text is either plain (zstr) or scrambled (u32 length, then the bytes XORed with
// kScrambleKey, the key starting again for each text). Packages and uninstall logs use
// the scrambled form throughout; the plain one exists for tests and tools.
#pragma once

#include <string>
#include <string_view>

#include "setupdata/byte_reader.h"
#include "setupdata/byte_writer.h"
#include "setupdata/records.h"

namespace kvb {

enum class TextForm { kPlain, kScrambled };

inline constexpr std::string_view kScrambleKey = "lqm-harbor";

// XORs every byte with the key repeated to the text's length; applying it twice gives
// the text back.
std::string ScrambleText(std::string_view text);

// One statement text. The text ends at its first zero byte and is cut to
// kFixedTextLength characters; a longer scrambled text is skipped over, never held
// whole in memory. Throws FormatError when a scrambled length exceeds the data left.
std::string ReadScriptText(ByteReader& in, TextForm form);
void WriteScriptText(ByteWriter& out, std::string_view text, TextForm form);

// Reads a script. The stored count is kept in Count: a negative count is an absent
// script with no statements; a positive count is checked against the data left before
// any statement is allocated. The full 32-bit code is kept; arguments the code does
// not store stay empty.
TScript ReadScript(ByteReader& in, TextForm form);

// Writes a script. The count written is the number of statements, or, for a script
// without statements, the kept Count when it is negative (an absent script) and 0
// otherwise. Only the arguments that each code stores are written.
void WriteScript(ByteWriter& out, const TScript& script, TextForm form);

}  // namespace kvb
