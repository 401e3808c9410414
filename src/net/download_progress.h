// Where the progress bar of a download stands.
#pragma once

#include <cstdint>

namespace kvb {

// Position (0 to 100) after `received` body bytes of a download whose server announced
// `announced` bytes: received x 100 / announced, rounded down and never above 100 (a
// server may send more than it announced).
//
// `announced` 0 means that no length was announced (a chunked or connection-closed
// body). The position then still moves, without reaching the end before the transfer
// does: it approaches 99 as more data arrives, passing 50 at kUnknownLengthHalfWay bytes.
int DownloadProgressPosition(uint64_t received, uint64_t announced);

inline constexpr uint64_t kUnknownLengthHalfWay = 1024 * 1024;

}  // namespace kvb
