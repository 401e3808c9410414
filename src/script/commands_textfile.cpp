// The one open desktop text file.
#include "script/command_context.h"
#include "script/conversion.h"
#include "vars/variables.h"

namespace kvb {
namespace {

void FileOpen(CommandContext& c) {
  ScriptTextFile& file = c.state.OpenFile;
  if (file.IsOpen()) {
    c.SetOutput("ERROR");
    return;
  }
  const std::string magic_text = c.Arg(3);
  std::optional<int32_t> magic;
  if (magic_text != "0")
    magic = ScriptInteger(magic_text);
  std::unique_ptr<ScriptFileStream> stream;
  if (c.state.Services.System)
    stream = c.state.Services.System->OpenFileForUpdate(c.Arg(2));
  switch (file.Open(std::move(stream), magic)) {
    case OpenFileResult::kOk:
      c.SetOutput("OK");
      break;
    case OpenFileResult::kError:
      c.SetOutput("ERROR");
      break;
    case OpenFileResult::kMagicError:
      c.SetOutput("MAGICERROR");
      break;
  }
}

}  // namespace

bool RunTextFileCommand(CommandContext& c) {
  const uint8_t code = c.Code();
  if (code < 5 || code > 10)
    return false;
  ScriptTextFile& file = c.state.OpenFile;
  if (code == 5) {
    FileOpen(c);
    return true;
  }
  if (!file.IsOpen()) {
    c.SetErrorCode("1");
    return true;
  }
  switch (code) {
    case 6:
      file.Append(c.Arg(1));
      break;
    case 7:
      file.Append(c.Arg(1) + "\r\n");
      break;
    case 8: {
      const int32_t count = c.IntArg(2);
      c.SetOutput(ReadFileBytes(file, count).value_or("EOF"));
      break;
    }
    case 9:
      c.SetOutput(ReadFileLine(file).value_or("EOF"));
      break;
    case 10:
      file.Close();
      break;
  }
  return true;
}

}  // namespace kvb
