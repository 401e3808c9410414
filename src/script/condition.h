// Guard conditions of script statements: clauses ended by "|", each comparing two
// operands around an operator.
#pragma once

#include <string_view>

namespace kvb {

class Variables;

// True for an empty text. Otherwise every clause (text ended by "|"; the text after the
// last "|" is ignored) must hold. In each clause the first of "!=", ">=", "<=", "=", ">",
// "<" (the two-character operators preferred at a position) splits it; one separator
// character on either side of the operator belongs to neither operand, so '%A%=1' compares
// '%A' with ''. Clauses without an operator are ignored.
bool EvaluateCondition(Variables& variables,
                       std::string_view condition,
                       bool package_has_components);

// Compares the operands by value (see the .cpp for the component test, digit padding and
// version comparison).
bool CompareClause(Variables& variables,
                   std::string_view left,
                   std::string_view right,
                   std::string_view op,
                   bool package_has_components);

}  // namespace kvb
