#include <io.h>
#include <windows.h>

#include "host.h"

namespace kvb::pack {

std::string SelfPath() {
  char buf[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(buf, n) : std::string();
}

bool IsTerminal(std::FILE* stream) {
  return _isatty(_fileno(stream)) != 0;
}

}  // namespace kvb::pack
