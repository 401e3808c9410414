// Message texts of the package: the table of the current language and the default
// language name.
#pragma once

#include <string>
#include <string_view>

#include "setupdata/setup_data.h"

namespace kvb {

// The table used for `language` (the current value of %Language%): the first
// language whose name equals it (case-insensitive); without a match the first language
// flagged as default, or the first language when none is flagged; in a package without
// languages the language-less table.
const TSetupMessage& SelectMessageTable(const TSetupData& data, std::string_view language);

// The unexpanded text of message `number` in that table; empty for numbers outside
// 0-68.
const std::string& GetMessageText(const TSetupData& data, int number, std::string_view language);

// The name %Language% takes after the messages are read: that of the last language
// flagged as default; empty when none is flagged.
std::string DefaultLanguageName(const TSetupData& data);

}  // namespace kvb
