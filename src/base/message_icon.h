// The icon of a message box, shared by every subsystem that shows one.
#pragma once

namespace kvb {

// Stop for errors, exclamation for files that cannot be written, information for
// notices and missing prerequisites.
enum class MessageIcon { kStop, kExclamation, kInformation };

}  // namespace kvb
