// Signed files for the tests: a minimal PE image (only the headers that lead to the
// security directory) and the certificate table that a signing tool appends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kvb::test {

// A PE32 image of `size` bytes (at least 512) with 16 data directories, all empty; with
// `plus` a PE32+ image.
std::string PeImage(size_t size = 512, bool plus = false);

// Sets the security directory of the PE image at the start of `file`.
void SetSecurityDirectory(std::string& file, uint32_t offset, uint32_t size);

// Signs `file` as signing tools do: zero bytes up to the next multiple of 8, then a
// certificate table holding one entry of `entry_size` bytes (a multiple of 8, header
// included), named by the security directory.
std::string SignFile(std::string file, uint32_t entry_size = 1504);

}  // namespace kvb::test
