#include "script/condition.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/text.h"
#include "vars/variables.h"

namespace kvb {
namespace {

constexpr std::string_view kComponentsName = "%SETUPCOMPONENTS%";

bool AllOf(std::string_view text, std::string_view allowed) {
  return text.find_first_not_of(allowed) == std::string_view::npos;
}

std::string PadLeft(std::string_view text, size_t width) {
  std::string out(width > text.size() ? width - text.size() : 0, '0');
  out += text;
  return out;
}

// Pads the parts of two dotted versions to equal widths so that they compare by bytes.
void AlignVersions(std::string& left, std::string& right) {
  std::vector<std::string> l = SplitText(left, ".");
  std::vector<std::string> r = SplitText(right, ".");
  const size_t parts = std::max(l.size(), r.size());
  l.resize(parts);
  r.resize(parts);
  for (size_t i = 0; i < parts; ++i) {
    const size_t width = std::max(l[i].size(), r[i].size());
    l[i] = PadLeft(l[i], width);
    r[i] = PadLeft(r[i], width);
  }
  left = JoinText(l, ".");
  right = JoinText(r, ".");
}

bool Compare(std::string_view left, std::string_view right, std::string_view op) {
  const int order = left.compare(right);
  if (op == "=")
    return order == 0;
  if (op == "!=")
    return order != 0;
  if (op == ">")
    return order > 0;
  if (op == "<")
    return order < 0;
  if (op == ">=")
    return order >= 0;
  return order <= 0;  // "<="
}

bool ComponentClause(Variables& variables,
                     std::string_view other,
                     std::string_view op,
                     bool package_has_components) {
  if (variables.SelectedComponents.empty() && !package_has_components)
    return true;
  const std::string name = variables.GetVariableValue(other);
  for (const std::string& selected : SplitText(variables.SelectedComponents, "|")) {
    if (SameText(selected, name))
      return op == "=";
  }
  return op == "!=";
}

bool EvaluateClause(Variables& variables, std::string_view clause, bool package_has_components) {
  for (size_t p = 0; p < clause.size(); ++p) {
    size_t length = 0;
    const std::string_view two = clause.substr(p, 2);
    if (two == "!=" || two == ">=" || two == "<=") {
      length = 2;
    } else if (clause[p] == '=' || clause[p] == '>' || clause[p] == '<') {
      length = 1;
    } else {
      continue;
    }
    const std::string_view left = clause.substr(0, p == 0 ? 0 : p - 1);
    const size_t right_start = p + length + 1;
    const std::string_view right =
        right_start < clause.size() ? clause.substr(right_start) : std::string_view();
    return CompareClause(variables, left, right, clause.substr(p, length), package_has_components);
  }
  return true;  // no operator: the clause is ignored
}

}  // namespace

bool CompareClause(Variables& variables,
                   std::string_view left,
                   std::string_view right,
                   std::string_view op,
                   bool package_has_components) {
  const bool left_is_components = SameText(left, kComponentsName);
  const bool right_is_components = SameText(right, kComponentsName);
  if (left_is_components && right_is_components)
    return op == "=";
  if (left_is_components || right_is_components) {
    return ComponentClause(variables, left_is_components ? right : left, op,
                           package_has_components);
  }
  std::string l = variables.GetVariableValue(left);
  std::string r = variables.GetVariableValue(right);
  if (AllOf(l, "0123456789") && AllOf(r, "0123456789")) {
    const size_t width = std::max(l.size(), r.size());
    l = PadLeft(l, width);
    r = PadLeft(r, width);
  } else if (AllOf(l, "0123456789.") && AllOf(r, "0123456789.")) {
    AlignVersions(l, r);
  }
  return Compare(l, r, op);
}

bool EvaluateCondition(Variables& variables,
                       std::string_view condition,
                       bool package_has_components) {
  size_t start = 0;
  for (size_t bar = condition.find('|'); bar != std::string_view::npos;
       bar = condition.find('|', start)) {
    const std::string_view clause = condition.substr(start, bar - start);
    start = bar + 1;
    if (clause.empty())
      continue;
    if (!EvaluateClause(variables, clause, package_has_components))
      return false;
  }
  return true;
}

}  // namespace kvb
