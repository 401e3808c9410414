#include "base/message_pump.h"

namespace kvb {

bool ProcessPendingMessages() {
  return true;
}

}  // namespace kvb
