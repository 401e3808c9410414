#include <gtest/gtest.h>

#include "vars/variables.h"

namespace kvb {
namespace {

std::vector<std::string> Names(const TVariableList& list) {
  std::vector<std::string> names;
  for (int i = 0; i < list.Count(); ++i)
    names.push_back(list.GetItem(i).first);
  return names;
}

TEST(VariableList, SortsByAsciiFoldedNameAndKeepsFirstCase) {
  TVariableList list;
  // '_' (0x5F) sorts after the letters once they are folded to upper case (0x41-0x5A),
  // and a byte above 0x7F compares by value.
  for (const char* name : {"%b%", "%_x%", "%\xE9%", "%A%", "%c%"})
    list.SetValue(name, name);
  list.SetValue("%a%", "second");
  list.SetValue("%B%", "third");
  EXPECT_EQ(Names(list), (std::vector<std::string>{"%A%", "%b%", "%c%", "%_x%", "%\xE9%"}));
  EXPECT_EQ(list.GetItem(0).second, "second");
  EXPECT_EQ(list.GetItem(1).second, "third");
  EXPECT_EQ(list.IndexOf("%C%"), 2);
  EXPECT_EQ(list.IndexOf("%_X%"), 3);
  EXPECT_EQ(list.IndexOf("%d%"), -1);
  EXPECT_EQ(list.IndexOf(""), -1);
}

TEST(VariableList, AddLineForms) {
  struct Case {
    const char* line;
    const char* name;
    const char* value;
  };
  const Case cases[] = {
      {"A=B=C", "A", "B=C"}, {"X", "X", "X"}, {"%N%=", "%N%", ""},
      {"=v", "", "v"},       {"", "", ""},    {"%P%=a b", "%P%", "a b"},
  };
  for (const Case& c : cases) {
    TVariableList list;
    list.AddLine(c.line);
    ASSERT_EQ(list.Count(), 1) << c.line;
    EXPECT_EQ(list.GetItem(0), std::make_pair(std::string(c.name), std::string(c.value))) << c.line;
    EXPECT_EQ(list.GetLine(0), std::string(c.name) + "=" + c.value) << c.line;
  }
}

TEST(VariableList, IndexOutsideGivesEmpty) {
  TVariableList list;
  list.SetValue("%A%", "1");
  for (int index : {-1, 1, 1000}) {
    EXPECT_EQ(list.GetLine(index), "");
    EXPECT_EQ(list.GetItem(index), std::make_pair(std::string(), std::string()));
  }
}

}  // namespace
}  // namespace kvb
