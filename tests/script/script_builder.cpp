#include "script/script_builder.h"

#include <stdexcept>

#include "setupdata/command_table.h"

namespace kvb::test {

TScriptStatement Statement(const std::string& command, std::vector<std::string> args) {
  const std::optional<uint8_t> code = FindCommandByName(command);
  if (!code)
    throw std::invalid_argument("unknown command " + command);
  TScriptStatement statement;
  statement.Code = *code;
  for (size_t i = 0; i < args.size() && i < statement.Args.size(); ++i)
    statement.Args[i] = std::move(args[i]);
  return statement;
}

TScript Script(std::vector<TScriptStatement> statements) {
  TScript script;
  script.Count = static_cast<int32_t>(statements.size());
  script.Statements = std::move(statements);
  return script;
}

}  // namespace kvb::test
