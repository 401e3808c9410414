#include "script/conversion.h"
#include "script/dll_call.h"

namespace kvb {
namespace {

std::string_view TrimControls(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
    text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
    text.remove_suffix(1);
  return text;
}

void AddPiece(std::vector<DllArgument>& arguments, std::string& piece) {
  const std::string_view trimmed = TrimControls(piece);
  if (!trimmed.empty()) {
    arguments.push_back({DllArgument::kInteger, {}, ScriptInteger(trimmed)});
  }
  piece.clear();
}

}  // namespace

std::vector<DllArgument> ParseDllArguments(std::string_view text) {
  std::vector<DllArgument> arguments;
  std::string piece;
  size_t i = 0;
  while (i < text.size()) {
    const char ch = text[i];
    if (ch == '"') {
      // A string runs to the next quote (or the end of the text) and ends the piece.
      const size_t close = text.find('"', i + 1);
      const size_t end = close == std::string_view::npos ? text.size() : close;
      arguments.push_back({DllArgument::kString, std::string(text.substr(i + 1, end - i - 1)), 0});
      piece.clear();
      i = end + 1;
    } else if (ch == ',') {
      AddPiece(arguments, piece);
      ++i;
    } else {
      piece += ch;
      ++i;
    }
  }
  AddPiece(arguments, piece);
  return arguments;
}

}  // namespace kvb
