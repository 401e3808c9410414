#include "script/condition.h"

#include <gtest/gtest.h>

#include "vars/variables.h"

namespace kvb {
namespace {

TEST(ConditionTest, ClausesOperatorsAndComparison) {
  Variables vars;
  vars.SetVariable("%Count%", "9");
  vars.SetVariable("%Ver%", "1.10");
  vars.SetVariable("%A%", "1");
  vars.SetVariable("%Empty%", "");
  struct Case {
    const char* condition;
    bool expected;
  } cases[] = {
      {"", true},
      {"|", true},
      {"A = B|", false},
      {"A = B", true},  // no closing "|": nothing is evaluated
      {"A = A|A = B", true},
      {"A = A|A = B|", false},
      {"||A = A||", true},
      {"10 > 9|", true},  // digits are padded: "10" > "09"
      {"1.10 > 1.9|", true},
      {"1.2 < 1.2.1|", true},  // "1.2.0" < "1.2.1"
      {"abc < abd|", true},
      {"A = a|", false},
      {"%Count% >= 10|", false},
      {"%Count% < 10|", true},
      {"%Count% != 9|", false},
      {"%Count% <= 9|", true},
      {"%Ver% = 1.10|", true},
      {"%Ver% > 1.9|", true},
      // The characters next to the operator are separators, even when they are not blanks.
      {"%A%=1|", false},     // compares '%A' with ''
      {"x%A%=x1|", false},   // compares 'x%A' with '1'
      {"%A% =  1|", false},  // right operand ' 1' keeps its second blank
      {"%Empty% = |", true},
      {"%Empty% = 0|", true},  // '' is padded to '0'
      {"no operator here|", true},
      {"a ! b|", true},  // "!" alone is no operator
      {"a != b|", true},
      {">= 1|", false},  // left '' (padded '0') is not >= '1'
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EvaluateCondition(vars, c.condition, false), c.expected) << c.condition;
  }
}

TEST(ConditionTest, ComponentSelection) {
  Variables vars;
  vars.SetVariable("%Name%", "docs");
  struct Case {
    const char* selected;
    bool package_has_components;
    const char* condition;
    bool expected;
  } cases[] = {
      {"Main|Docs", true, "%SETUPCOMPONENTS% = %Name%|", true},
      {"Main|Docs", true, "%Name% = %setupcomponents%|", true},
      {"Main|Docs", true, "%SETUPCOMPONENTS% != %Name%|", false},
      {"Main", true, "%SETUPCOMPONENTS% = %Name%|", false},
      {"Main", true, "%SETUPCOMPONENTS% != %Name%|", true},
      {"Main", true, "%SETUPCOMPONENTS% > %Name%|", false},
      {"", false, "%SETUPCOMPONENTS% = anything|", true},  // no components at all
      {"", true, "%SETUPCOMPONENTS% = docs|", false},
      {"", true, "%SETUPCOMPONENTS% = %SETUPCOMPONENTS%|", true},
      {"", true, "%SETUPCOMPONENTS% != %SETUPCOMPONENTS%|", false},
  };
  for (const Case& c : cases) {
    vars.SelectedComponents = c.selected;
    EXPECT_EQ(EvaluateCondition(vars, c.condition, c.package_has_components), c.expected)
        << c.selected << " / " << c.condition;
  }
}

}  // namespace
}  // namespace kvb
