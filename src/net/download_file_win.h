// The Win32 download file: a temporary file in the target's folder that replaces the
// target once the download has succeeded.
#pragma once

#include <memory>
#include <string>

#include "net/http_client.h"

namespace kvb {

// Creates the temporary file beside `target`; null when that fails (for example when the
// folder is missing or cannot be written).
std::unique_ptr<DownloadFile> CreateWinDownloadFile(const std::string& target);

}  // namespace kvb
