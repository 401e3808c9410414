// Reads the archive blocks of a package for dump and info: the message texts, and every
// entry's number and date, with its data written to a file when asked.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "setupdata/byte_source.h"

namespace kvb::pack {

struct BlockEntry {
  int32_t index = 0;
  uint32_t date = 0;
  std::string path;  // the extracted data (empty when only listed)
};

struct BlockContents {
  uint32_t total_size = 0;  // from the block header
  uint32_t file_count = 0;
  std::vector<std::string> messages;
  std::vector<BlockEntry> entries;  // in stored order
};

// Lists the block at `offset` of `source`. With a non-empty `extract_dir` every entry is
// written to extract_dir/<prefix><n> (n counting the entries of the block). Throws
// std::runtime_error when the block is damaged or an entry cannot be written.
BlockContents ReadBlock(ByteSource& source,
                        uint64_t offset,
                        const std::string& extract_dir,
                        const std::string& prefix);

// The same for a main archive in volume files beside `setup_path`.
BlockContents ReadVolumeBlock(const std::string& setup_path,
                              const std::string& extract_dir,
                              const std::string& prefix);

// Read the block as ReadBlock and ReadVolumeBlock do, and inflate every entry without
// writing it anywhere: a chunk that does not inflate or fails its check sum throws.
BlockContents CheckBlock(ByteSource& source, uint64_t offset);
BlockContents CheckVolumeBlock(const std::string& setup_path);

}  // namespace kvb::pack
