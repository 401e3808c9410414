#include "tools/kvbuninst/silent_prompt.h"

namespace kvb {

int FirstButtonResult(uint32_t style) {
  // The button sets of MB_OK ... MB_CANCELTRYCONTINUE (the low four bits) and the result
  // of their first button: IDOK 1, IDABORT 3, IDYES 6, IDRETRY 4, IDCANCEL 2.
  constexpr int kFirst[] = {1, 1, 3, 6, 6, 4, 2};
  const uint32_t set = style & 0xF;
  return set < sizeof kFirst / sizeof kFirst[0] ? kFirst[set] : 1;
}

}  // namespace kvb
