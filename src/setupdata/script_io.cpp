#include "setupdata/script_io.h"

#include <algorithm>

#include "setupdata/command_table.h"

namespace kvb {

namespace {

// Smallest stored statement: the code and an empty guard.
size_t MinStatementSize(TextForm form) {
  return 4 + (form == TextForm::kScrambled ? 4 : 1);
}

// In memory a statement text is a fixed character array: it ends at its first zero.
void CutAtZero(std::string& text) {
  const size_t zero = text.find('\0');
  if (zero != std::string::npos)
    text.resize(zero);
}

}  // namespace

std::string ScrambleText(std::string_view text) {
  std::string out(text);
  for (size_t i = 0; i < out.size(); ++i)
    out[i] ^= kScrambleKey[i % kScrambleKey.size()];
  return out;
}

std::string ReadScriptText(ByteReader& in, TextForm form) {
  if (form == TextForm::kPlain)
    return in.ZStr(kFixedTextLength);
  const uint32_t length = in.U32();
  if (length > in.Remaining()) {
    throw FormatError("script text of " + std::to_string(length) + " bytes exceeds the data");
  }
  const size_t kept = std::min<size_t>(length, kFixedTextLength);
  std::string text = ScrambleText(in.Bytes(kept));
  in.Skip(length - kept);
  CutAtZero(text);
  return text;
}

void WriteScriptText(ByteWriter& out, std::string_view text, TextForm form) {
  if (form == TextForm::kPlain) {
    out.ZStr(text);
    return;
  }
  out.U32(static_cast<uint32_t>(text.size()));
  out.Bytes(ScrambleText(text));
}

TScript ReadScript(ByteReader& in, TextForm form) {
  TScript script;
  script.Count = in.I32();
  if (script.Count <= 0)
    return script;
  in.Count(static_cast<uint32_t>(script.Count), MinStatementSize(form));
  script.Statements.reserve(static_cast<size_t>(script.Count));
  for (int32_t i = 0; i < script.Count; ++i) {
    TScriptStatement st;
    st.Code = in.U32();
    const int args = StoredArgumentCount(st.Code);
    for (int a = 0; a < args; ++a)
      st.Args[a] = ReadScriptText(in, form);
    st.Guard = ReadScriptText(in, form);
    script.Statements.push_back(std::move(st));
  }
  return script;
}

void WriteScript(ByteWriter& out, const TScript& script, TextForm form) {
  int32_t count = static_cast<int32_t>(script.Statements.size());
  if (script.Statements.empty())
    count = std::min(script.Count, 0);
  out.I32(count);
  for (const TScriptStatement& st : script.Statements) {
    out.U32(st.Code);
    const int args = StoredArgumentCount(st.Code);
    for (int a = 0; a < args; ++a)
      WriteScriptText(out, st.Args[a], form);
    WriteScriptText(out, st.Guard, form);
  }
}

}  // namespace kvb
