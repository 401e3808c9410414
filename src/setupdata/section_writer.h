// Section writers: the mirror of the section loaders. Each section is written in its
// current form, texts as held, scripts scrambled.
#pragma once

#include <string>

#include "setupdata/byte_writer.h"
#include "setupdata/setup_data.h"

namespace kvb {

// Writes section `index` (0-14 or 17) of `data`. Loading the result with the
// section's loader gives `data`'s fields for that section back, except for what the
// loaders normalise (over-long fixed texts cut, Reserved and unstored fields zero).
// Throws std::invalid_argument for the archive sections 15 and 16 and for indexes out
// of range.
void WriteSection(ByteWriter& out, int index, const TSetupData& data);
std::string WriteSection(int index, const TSetupData& data);

}  // namespace kvb
