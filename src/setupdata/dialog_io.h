// Stored form of the designed dialogs (pages, styles, secondary dialogs) and their
// controls. Texts are zstr cut to kFixedTextLength characters; coordinates are signed.
// Scripts inside dialogs are scrambled in every package; the plain form exists for
// tests and tools.
#pragma once

#include <cstdint>

#include "setupdata/byte_reader.h"
#include "setupdata/byte_writer.h"
#include "setupdata/records.h"
#include "setupdata/script_io.h"

namespace kvb {

// How many of the strings S1..S6 a control of this kind stores: 3 for kinds 1 and 11,
// 4 for 2 and 8, 5 for 3 and 5, 6 for 4, 6 and 7, 1 for 9, 2 for 13, none otherwise.
int StoredStringCount(uint8_t kind);

inline constexpr size_t kMinControlSize = 1 + 1 + 1 + 16 + 4;
inline constexpr size_t kMinDialogSize = 2 + 8 + 11 + 1 + 1 + 4 + 16;

// Control: u8 kind, zstr variable, u8 role, i32 left, top, height, width, the kind's
// strings, then the control's script (every kind stores one). Slots the kind does not
// store read as empty and are not written.
TSetupControl ReadControl(ByteReader& in, TextForm scripts = TextForm::kScrambled);
void WriteControl(ByteWriter& out,
                  const TSetupControl& control,
                  TextForm scripts = TextForm::kScrambled);

// Dialog: zstr name, zstr title, i32 height, i32 width, font, u8 type, zstr style,
// u32 control count and controls, then the four scripts (before, built, shown, leave).
// The control count is checked against the data left before allocating.
TSetupDialog ReadDialog(ByteReader& in, TextForm scripts = TextForm::kScrambled);
void WriteDialog(ByteWriter& out,
                 const TSetupDialog& dialog,
                 TextForm scripts = TextForm::kScrambled);

}  // namespace kvb
