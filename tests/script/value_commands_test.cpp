// Messages, variables, arithmetic, number texts and lists.
#include <gtest/gtest.h>

#include "script_fakes.h"

namespace kvb {
namespace {

TEST(ValueCommandsTest, Calculate) {
  struct Case {
    const char* a;
    const char* op;
    const char* b;
    const char* expected;
  } cases[] = {
      {"7", "ADDITION", "5", "12"},
      {"7", "subtraction", "9", "-2"},
      {"-3", "MULTIPLICATION", "4", "-12"},
      {"7", "DIVISION", "2", "3"},
      {"-7", "DIVISION", "2", "-3"},
      {"7", "DIVISION", "0", "0"},
      {"-7", "REMAINDER", "2", "-1"},
      {"7", "REMAINDER", "-2", "1"},
      {"7", "REMAINDER", "0", "7"},
      {"7", "POWER", "2", "7"},
      {"2147483647", "ADDITION", "1", "-2147483648"},
      {"-2147483648", "SUBTRACTION", "1", "2147483647"},
      {"65536", "MULTIPLICATION", "65536", "0"},
      {"-2147483648", "DIVISION", "-1", "-2147483648"},
      {"-2147483648", "REMAINDER", "-1", "0"},
      {"1 000", "ADDITION", "x1", "1001"},  // only digits and minus signs count
      {"", "ADDITION", "", "0"},
  };
  for (const Case& c : cases) {
    ScriptHarness h;
    h.Execute({{"CALCULATE", {"%R%", c.a, c.op, c.b}}});
    EXPECT_EQ(h.Value("%R%"), c.expected) << c.a << " " << c.op << " " << c.b;
  }
}

TEST(ValueCommandsTest, FailedConversionsEndTheRunWithoutEffect) {
  const std::vector<Line> statements[] = {
      {{"CALCULATE", {"%R%", "-", "ADDITION", "1"}}},
      {{"CALCULATE", {"%R%", "1", "ADDITION", "1-2"}}},
      {{"RANDOM", {"%R%", "--1", "5"}}},
      {{"PADZEROS", {"%R%", "99999999999"}}},
      {{"WAIT", {"5-"}}},
      {{"LISTITEM", {"%R%", "a, b", "-1-"}}},
      {{"WRITEREG", {"HKEY_CURRENT_USER", "K", "V", "99999999999"}}},
  };
  for (const std::vector<Line>& lines : statements) {
    ScriptHarness h;
    h.vars.SetVariable("%R%", "before");
    std::vector<Line> script = lines;
    script.push_back({"SET", {"%After%", "1"}});
    EXPECT_TRUE(h.Execute(script)) << lines[0].command;
    EXPECT_EQ(h.Value("%R%"), "before") << lines[0].command;
    EXPECT_EQ(h.Value("%After%"), "%After%") << lines[0].command;
    EXPECT_TRUE(h.log.empty());
    EXPECT_TRUE(h.registry->values.empty());
  }
}

TEST(ValueCommandsTest, NumberTexts) {
  struct Case {
    const char* command;
    const char* value;
    const char* argument;
    const char* expected;
  } cases[] = {
      {"TOHEX", "255", "", "FF"},         {"TOHEX", "0", "", "0"},
      {"TOHEX", "-1", "", "FFFFFFFF"},    {"TOHEX", "-", "", "0"},
      {"FROMHEX", "ff", "", "255"},       {"FROMHEX", "FFFFFFFF", "", "4294967295"},
      {"FROMHEX", "000000010", "", "16"}, {"FROMHEX", "100000000", "", "0"},
      {"FROMHEX", "xyz", "", "0"},        {"FROMHEX", "", "", "0"},
      {"PADZEROS", "42", "5", "00042"},   {"PADZEROS", "123456", "3", "123456"},
      {"PADZEROS", "7", "-3", "7"},
  };
  for (const Case& c : cases) {
    ScriptHarness h;
    h.vars.SetVariable("%V%", c.value);
    h.Execute({{c.command, {"%V%", c.argument}}});
    EXPECT_EQ(h.Value("%V%"), c.expected) << c.command << " " << c.value;
  }
}

TEST(ValueCommandsTest, PadZerosWidthIsBounded) {
  ScriptHarness h;
  h.Execute({{"PADZEROS", {"%V%", "2147483647"}}});
  EXPECT_EQ(h.Value("%V%").size(), 65536u);
}

TEST(ValueCommandsTest, RandomStaysInRange) {
  ScriptHarness h;
  for (int i = 0; i < 200; ++i) {
    h.Execute({{"RANDOM", {"%R%", "10", "3"}}});
    const int r = std::stoi(h.Value("%R%"));
    EXPECT_GE(r, 10);
    EXPECT_LT(r, 13);
  }
  h.Execute({{"RANDOM", {"%R%", "5", "0"}}});
  EXPECT_EQ(h.Value("%R%"), "5");
  h.Execute({{"RANDOM", {"%R%", "2147483647", "1"}}});
  EXPECT_EQ(h.Value("%R%"), "2147483647");
}

TEST(ValueCommandsTest, MessagesAndQuestions) {
  ScriptHarness h;
  h.vars.SetVariable("%Who%", "you");
  h.vars.SetVariable("%Answer%", "no");
  h.prompt->answer = 6;  // IDYES
  h.Execute({{"MESSAGE", {"Hi %Who%", "Text", "WARNING"}},
             {"MESSAGE", {"C", "T", "warning"}},
             {"ASK", {"%Answer%", "Q", "Sure?", "QUESTION"}},
             {"ASK", {"%Answer%", "Q", "Again?", ""}}});
  // No is the default button only while the variable holds "NO".
  EXPECT_EQ(h.log, (Log{"Message(Hi you, Text, 48)", "Message(C, T, 0)", "Message(Q, Sure?, 292)",
                        "Message(Q, Again?, 4)"}));
  EXPECT_EQ(h.Value("%Answer%"), "YES");
  h.prompt->answer = 7;
  h.Execute({{"ASK", {"%Answer%", "Q", "T", "ERROR"}}});
  EXPECT_EQ(h.Value("%Answer%"), "NO");
}

TEST(ValueCommandsTest, SetAndWait) {
  ScriptHarness h;
  h.vars.SetVariable("%B%", "q");
  h.Execute({{"SET", {"%Dir%", "C:\\App\\", "1"}},
             {"SET", {"%Plain%", "C:\\App\\", "0"}},
             {"SET", {"%Ref%", "x%B%"}},
             {"WAIT", {"250"}},
             {"WAIT", {"-5"}},
             {"WAIT", {"0"}}});
  EXPECT_EQ(h.Value("%Dir%"), "C:\\App");
  EXPECT_EQ(h.Value("%Plain%"), "C:\\App\\");
  EXPECT_EQ(h.Value("%Ref%"), "xq");
  EXPECT_EQ(h.log, (Log{"Sleep(250)"}));
}

TEST(ListCommandsTest, ListsInVariables) {
  struct Case {
    const char* command;
    const char* list;
    const char* argument;
    const char* expected;
  } cases[] = {
      {"LISTADD", "a, b", "B", "a, b"},
      {"LISTADD", "a, b", "c", "a, b, c"},
      {"LISTADD", "", "c", "c"},
      {"LISTADD", "a|b", "c", "a, b, c"},  // "|" separates items too
      {"LISTREMOVE", "a, b, A, c", "a", "b, c"},
      {"LISTREMOVE", "a, , b", "x", "a, b"},
      {"LISTREMOVE", "a", "a", ""},
  };
  for (const Case& c : cases) {
    ScriptHarness h;
    h.vars.SetVariable("%L%", c.list);
    h.Execute({{c.command, {"%L%", c.argument}}});
    EXPECT_EQ(h.Value("%L%"), c.expected) << c.command << " " << c.list << " " << c.argument;
  }
}

TEST(ListCommandsTest, ListQueries) {
  struct Case {
    const char* command;
    const char* list;
    const char* argument;
    const char* expected;
  } cases[] = {
      {"LISTCONTAINS", "a, B, c", "b", "1"}, {"LISTCONTAINS", "a, bc", "b", "0"},
      {"LISTITEM", "a, b, c", "1", "b"},     {"LISTITEM", "a, , c", "2", "c"},
      {"LISTITEM", "a, b", "2", ""},         {"LISTITEM", "a, b", "-1", ""},
      {"LISTCOUNT", "a, , c", "", "2"},      {"LISTCOUNT", "", "", "0"},
  };
  for (const Case& c : cases) {
    ScriptHarness h;
    h.Execute({{c.command, {"%R%", c.list, c.argument}}});
    EXPECT_EQ(h.Value("%R%"), c.expected) << c.command << " " << c.list << " " << c.argument;
  }
}

}  // namespace
}  // namespace kvb
