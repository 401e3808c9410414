#include "script_syntax.h"

#include <gtest/gtest.h>

#include "setupdata/command_table.h"

namespace kvb::pack {
namespace {

TScript Parse(const std::string& text, Diagnostics& diag) {
  return ParseScript(text, ScriptOrigin{"p.toml", 10, 5, true}, diag);
}

TScript ParseOk(const std::string& text) {
  Diagnostics diag;
  TScript s = Parse(text, diag);
  EXPECT_FALSE(diag.HasErrors()) << text << "\n" << (diag.HasErrors() ? diag.messages()[0] : "");
  return s;
}

TScriptStatement St(uint32_t code, std::array<std::string, 5> args, std::string guard = "") {
  TScriptStatement s;
  s.Code = code;
  s.Args = std::move(args);
  s.Guard = std::move(guard);
  return s;
}

TEST(ScriptSyntaxTest, StatementsParseIntoCodesArgumentsAndGuards) {
  struct Case {
    const char* text;
    TScriptStatement expected;
  } cases[] = {
      {"SET \"%Done%\", \"1\" when \"%IsNT% = 1|\"", St(56, {"%Done%", "1"}, "%IsNT% = 1|")},
      {"  set \"%A%\",\"x\",\"1\"  ", St(56, {"%A%", "x", "1"})},
      {"FILEWRITE \"say \"\"hi\"\"\"#13#10", St(6, {"say \"hi\"\r\n"})},
      {"MESSAGE #9\"tab\", \"caf\xC3\xA9\"", St(1, {"\ttab", "caf\xE9"})},
      {"CODE 14 \"a\", \"b\"", St(14, {"a", "b"})},
      {"CODE 0x12E \"x\"", St(0x12E, {"x"})},
      {"EXIT when \"%A% = 1|\"", St(50, {}, "%A% = 1|")},
      {"CANCEL", St(15, {})},
  };
  for (const Case& c : cases) {
    const TScript s = ParseOk(c.text);
    ASSERT_EQ(s.Statements.size(), 1u) << c.text;
    EXPECT_EQ(s.Statements[0], c.expected) << c.text;
    EXPECT_EQ(s.Count, 1);
  }
}

TEST(ScriptSyntaxTest, BlocksGetIdentifiersWhenLeftOut) {
  const TScript s = ParseOk(
      "# comment\n"
      "IF when \"%IsNT% = 1|\"\n"
      "  FOR \"%i%\", \"1\", \"3\"\n"
      "    SET \"%x%\", \"%i%\"\n"
      "  ENDFOR\n"
      "ELSE\n"
      "  WHILE \"loop\" when \"%x% < 3|\"\n"
      "  ENDWHILE \"loop\"\n"
      "ENDIF\n");
  ASSERT_EQ(s.Statements.size(), 8u);
  EXPECT_EQ(s.Statements[0], St(kCmdIf, {"if0"}, "%IsNT% = 1|"));
  EXPECT_EQ(s.Statements[1], St(kCmdFor, {"%i%", "1", "3", "for1"}));
  EXPECT_EQ(s.Statements[3], St(kCmdEndFor, {"for1"}));
  EXPECT_EQ(s.Statements[4], St(kCmdElse, {"if0"}));
  EXPECT_EQ(s.Statements[5], St(kCmdWhile, {"loop"}, "%x% < 3|"));
  EXPECT_EQ(s.Statements[6], St(kCmdEndWhile, {"loop"}));
  EXPECT_EQ(s.Statements[7], St(kCmdEndIf, {"if0"}));
}

TEST(ScriptSyntaxTest, PrintingGivesTextThatParsesToTheSameStatements) {
  const char* scripts[] = {
      "IF when \"%IsNT% = 1|\"\n  SET \"%Done%\", \"1\"\nELSE\n  EXIT\nENDIF\n",
      "FOREACHSELECTED \"%c%\", \"Components\", \"each\"\n  LISTADD \"%L%\", \"%c%\"\nENDFOREACH\n",
      "FILEWRITE \"a\"#13#10\"b\"\"c\"\nCODE 14 \"x\"\nCODE 300\nDLLCALL \"k.dll\", \"f\", "
      "\"INTEGER\", \"\", \"tail\"\n",
      "IF \"\"\n  IF \"in\"\n  ENDIF\nENDIF\n",
  };
  for (const char* text : scripts) {
    const TScript s = ParseOk(text);
    EXPECT_EQ(PrintScript(s), text);
    EXPECT_EQ(ParseOk(PrintScript(s)), s) << text;
  }
}

TEST(ScriptSyntaxTest, UnbalancedBlocksPrintInCodeForm) {
  TScript s;
  s.Statements = {St(kCmdIf, {"a"}), St(56, {"%x%", "1"}), St(kCmdEndFor, {"b"})};
  s.Count = 3;
  EXPECT_EQ(PrintScript(s), "CODE 46 \"a\"\nSET \"%x%\", \"1\"\nCODE 30 \"b\"\n");
  EXPECT_EQ(ParseOk(PrintScript(s)), s);
}

TEST(ScriptSyntaxTest, MistakesNameLineAndColumn) {
  const std::string long_text(1001, 'x');
  struct Case {
    std::string text;
    std::string message;
  } cases[] = {
      {"FOO \"a\"", "p.toml:10:5: unknown command \"FOO\""},
      {"SET \"%a%\"\n  SET \"a\", \"b\", \"c\", \"d\"",
       "p.toml:11:22: SET takes at most 3 arguments, 4 given"},
      {"EXIT \"a\"", "p.toml:10:10: EXIT takes no arguments, 1 given"},
      {"IF when \"1 = 1|\"\nSET \"a\"", "p.toml:10:5: IF \"if0\" has no ENDIF"},
      {"IF\nENDFOR",
       "p.toml:11:1: ENDFOR without a matching FOR (innermost open block: IF \"if0\")"},
      {"IF \"x\"\nWHILE \"x\"\nENDWHILE\nENDIF",
       "p.toml:11:1: block identifier \"x\" is already used by the enclosing IF \"x\""},
      {"IF\nELSE\nELSE\nENDIF", "p.toml:12:1: second ELSE for IF \"if0\""},
      {"IF \"a\"\nENDIF \"b\"",
       "p.toml:11:1: ENDIF \"b\" does not match the innermost open block IF \"a\""},
      {"FOR \"%i%\", \"1\"",
       "p.toml:10:5: FOR needs 3 arguments before its block identifier, 2 given"},
      {"SET \"abc", "p.toml:10:9: the quoted text has no closing quote"},
      {"SET \"a\"#300", "p.toml:10:16: a character code is # followed by a number from 0 to 255"},
      {"SET \"a\" \"b\" x", "p.toml:10:17: unexpected text \"x\""},
      {"SET \"a\", \"" + long_text + "\"",
       "p.toml:10:14: argument 2 is 1001 characters long; the field holds 1000"},
      {"SET \"a\" when \"" + long_text + "\"", "p.toml:10:18: the guard is 1001 characters long"},
      {"SET \"\xE2\x82\xAC\xE2\x80\x8B\"", "p.toml:10:11: this character has no Windows-1252 code"},
      {"CODE x", "p.toml:10:10: CODE needs a number"},
  };
  for (const Case& c : cases) {
    Diagnostics diag;
    Parse(c.text, diag);
    ASSERT_TRUE(diag.HasErrors()) << c.text;
    EXPECT_EQ(diag.messages()[0].substr(0, c.message.size()), c.message) << c.text;
  }
}

TEST(ScriptSyntaxTest, InexactOriginsPointAtTheScriptValue) {
  Diagnostics diag;
  ParseScript("SET \"a\"\nBAD", ScriptOrigin{"p.toml", 7, 12, false}, diag);
  ASSERT_EQ(diag.messages().size(), 1u);
  EXPECT_EQ(diag.messages()[0], "p.toml:7:12: unknown command \"BAD\"");
}

}  // namespace
}  // namespace kvb::pack
