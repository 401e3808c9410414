// Layout constants of an archive block and the naming of its volume files.
//
// A block: i32 signature length, the signature, u32 total uncompressed size, u32 entry
// count, then records, each opened by an i32 marker: -3 message text, -2 end of block,
// -1 volume break (u32 number of the next volume), >= 0 a file entry (u32 DOS date, the
// entry magic, chunks, -4). A chunk header > 0 is the length of one zlib stream, < 0
// (other than -4) the negated length of stored bytes, 0 an empty chunk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kvb {

inline constexpr std::string_view kArchiveSignature = "Kalvenbrooker 2002";
inline constexpr std::string_view kEntryMagic = "kVBZ";

inline constexpr int32_t kMarkerMessage = -3;
inline constexpr int32_t kMarkerEndOfBlock = -2;
inline constexpr int32_t kMarkerVolumeBreak = -1;
inline constexpr int32_t kChunkEndOfEntry = -4;

// Files are cut into pieces of this size; a chunk never inflates to more.
inline constexpr size_t kPieceSize = 65536;
// Longest compressed chunk accepted. zlib's own bound for a 64 KiB piece is 65,569
// bytes; anything far beyond that is damage, and the limit keeps the buffer bounded.
inline constexpr size_t kMaxCompressedChunk = 2 * kPieceSize;

// Volume files are numbered 1 to 999 (three-digit extensions).
inline constexpr uint32_t kMaxVolumeNumber = 999;

// The three-digit extension (without the dot) of volume `number`: the last three
// characters of "00" followed by the decimal number (7 -> "007", 123 -> "123").
std::string VolumeExtension(uint32_t number);

// `path` with the extension of its file name replaced by `ext` (which includes the dot),
// or with `ext` appended when the file name has no extension. Path separators are '\\',
// '/' and ':'; a dot in a folder name is not an extension.
std::string ChangeFileExt(std::string_view path, std::string_view ext);

// Name of volume `number` of a package: the setup file's path without its extension,
// then "." and the three-digit number ("C:\\cd\\Setup.exe", 1 -> "C:\\cd\\Setup.001").
std::string VolumeFileName(std::string_view setup_path, uint32_t number);

}  // namespace kvb
