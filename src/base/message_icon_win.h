// The message box flag of a MessageIcon.
#pragma once

#include <windows.h>

#include "base/message_icon.h"

namespace kvb {

inline UINT MessageBoxIconFlag(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kStop:
      return MB_ICONSTOP;
    case MessageIcon::kExclamation:
      return MB_ICONEXCLAMATION;
    case MessageIcon::kInformation:
      return MB_ICONINFORMATION;
  }
  return 0;
}

}  // namespace kvb
