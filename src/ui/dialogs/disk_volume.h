// The file the next-disk request looks for, free of windows so that it is tested on the
// host.
#pragma once

#include <string>
#include <string_view>

namespace kvb {

// `folder` with a trailing backslash, the setup program's file name without its
// extension, "." and the disk number in three digits: disk 12 of "C:\a\setup.exe" in
// "D:\" is "D:\setup.012".
std::string ExpectedVolumeFile(std::string_view folder, std::string_view setup_path, int disk);

// `text` with every "<disk>" (any case) replaced by the disk number without leading zeros.
std::string DiskText(std::string_view text, int disk);

}  // namespace kvb
