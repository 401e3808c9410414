// Writing archive blocks: the builder's side of the compressed archives, also used by
// the tests to make blocks.
//
// Every file is cut into 65,536-byte pieces (the last one shorter). Each piece becomes
// one chunk: a complete zlib stream (see archive_compressor.h), or the piece stored as is when
// the stream is not smaller (a 4-byte piece is always compressed, since a stored one
// would read as the end mark). Pieces are compressed in parallel; the bytes written are
// the same whatever the number of threads. Files are read piece by piece, never whole.
//
// Section 16 of the Setup data is the main block followed by the component blocks:
// write them one after the other with WriteArchiveBlock; each block starts where the
// previous one ended, so its absolute offset is the section's offset plus the sizes of
// the blocks before it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "setupdata/byte_source.h"

namespace kvb {

class ArchiveWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One file of a block.
struct ArchiveEntry {
  int32_t EntryIndex = 0;  // >= 0: the number the package's file records refer to
  uint32_t FileDate = 0;   // DOS date (high 16 bits) and time (low 16 bits), stored as given
  // Opens the file's bytes; nullptr when it cannot be opened. Called once before writing
  // (for the size in the block header) and once when the entry is written, so only a few
  // files are open at any time.
  std::function<std::unique_ptr<ByteSource>()> Open;

  static ArchiveEntry FromFile(int32_t entry_index, uint32_t file_date, std::string path);
  static ArchiveEntry FromBytes(int32_t entry_index, uint32_t file_date, std::string bytes);
};

struct ArchiveBlockContent {
  std::string Message;                // text of the message record that opens the block:
                                      // the component's name, empty for the main part
  std::vector<ArchiveEntry> Entries;  // in stored order
};

struct ArchiveWriteOptions {
  unsigned Threads = 0;  // compression threads; 0 = one per core
  // Called after each chunk is written: uncompressed bytes done, and the block's total.
  std::function<void(uint64_t done, uint64_t total)> OnProgress;
};

struct ArchiveBlockInfo {
  uint64_t Size = 0;       // bytes written, all volumes together
  uint32_t TotalSize = 0;  // sum of the entries' sizes, as in the block header
  uint32_t FileCount = 0;  // number of entries, as in the block header
  uint32_t Volumes = 0;    // volume files written; 0 for a block written to a stream
  uint32_t StoredChunks = 0;
  uint32_t CompressedChunks = 0;
};

// Writes one block at the current position of `out`.
// Throws ArchiveWriteError when an entry cannot be opened or read, changes its size while
// it is read, has a negative index, when the entries add up to 4 GiB or more, or when
// writing to `out` fails.
ArchiveBlockInfo WriteArchiveBlock(std::ostream& out,
                                   const ArchiveBlockContent& block,
                                   const ArchiveWriteOptions& options = {});

// Writes section 15 of the Setup data: the byte 1 and the block, or the single byte 0
// when the block has no entries (Size then counts that one byte). Errors as above.
ArchiveBlockInfo WriteTempFileArchiveSection(std::ostream& out,
                                             const ArchiveBlockContent& block,
                                             const ArchiveWriteOptions& options = {});

// Writes the block into the volume files VolumeFileName(setup_path, 1), (setup_path, 2),
// ..., none longer than `volume_size` bytes. A volume ends only inside a file entry:
// the entry's part is closed by -4, then -1 and the next volume's number; the next volume
// starts with the entry magic, the entry's further chunks, -4 and the further records.
// Throws ArchiveWriteError, besides the errors above, when the first volume cannot hold
// the block's start up to its first entry, when a chunk does not fit into an empty
// volume, when more than 999 volumes would be needed, or when a volume file cannot be
// written. Volume files already written stay in place after an error.
ArchiveBlockInfo WriteArchiveVolumes(const std::string& setup_path,
                                     uint64_t volume_size,
                                     const ArchiveBlockContent& block,
                                     const ArchiveWriteOptions& options = {});

}  // namespace kvb
