// Scripts for tests, written by command name.
#pragma once

#include <string>
#include <vector>

#include "setupdata/records.h"

namespace kvb::test {

// One statement by command name ("MESSAGE", "SET" ...), arguments in order; throws
// std::invalid_argument for an unknown name.
TScriptStatement Statement(const std::string& command, std::vector<std::string> args = {});
TScript Script(std::vector<TScriptStatement> statements);

}  // namespace kvb::test
