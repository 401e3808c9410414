// Script text of any content: the parser reports mistakes and never crashes; a script
// it accepts prints to text that parses to the same statements.
#include <cstdlib>
#include <string_view>

#include "script_syntax.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  kvb::pack::Diagnostics diag;
  const kvb::TScript script = kvb::pack::ParseScript(text, {"fuzz", 1, 1, true}, diag);
  if (diag.HasErrors())
    return 0;
  kvb::pack::Diagnostics again_diag;
  const kvb::TScript again =
      kvb::pack::ParseScript(kvb::pack::PrintScript(script), {"again", 1, 1, true}, again_diag);
  if (again_diag.HasErrors() || !(again == script))
    std::abort();
  return 0;
}
