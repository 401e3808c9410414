#include "diagnostics.h"

namespace kvb::pack {

std::string FormatDiagnostic(const SourcePos& pos, const std::string& message) {
  std::string out = pos.file.empty() ? std::string("project") : pos.file;
  if (pos.line > 0) {
    out += ":" + std::to_string(pos.line);
    if (pos.column > 0)
      out += ":" + std::to_string(pos.column);
  }
  return out + ": " + message;
}

void Diagnostics::Error(const SourcePos& pos, const std::string& message) {
  // A broken project can produce thousands of follow-up errors; the first ones matter.
  constexpr size_t kMaxMessages = 50;
  if (messages_.size() < kMaxMessages)
    messages_.push_back(FormatDiagnostic(pos, message));
}

void Diagnostics::ThrowIfAny() const {
  if (messages_.empty())
    return;
  std::string all;
  for (const std::string& m : messages_) {
    if (!all.empty())
      all += "\n";
    all += m;
  }
  throw ProjectError(all);
}

}  // namespace kvb::pack
