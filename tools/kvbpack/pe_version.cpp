#include "pe_version.h"

#include <vector>

#include "setupdata/byte_reader.h"

namespace kvb::pack {
namespace {

constexpr uint32_t kFixedInfoSignature = 0xFEEF04BD;
constexpr uint32_t kVersionResourceType = 16;
constexpr uint32_t kResourceDirectoryIndex = 2;

struct Section {
  uint32_t virtual_address, virtual_size, raw_size, raw_offset;
};

// Maps a relative virtual address to a file offset through the section table.
std::optional<uint64_t> RvaToOffset(const std::vector<Section>& sections, uint32_t rva) {
  for (const Section& s : sections) {
    const uint32_t size = s.virtual_size ? s.virtual_size : s.raw_size;
    if (rva >= s.virtual_address && rva - s.virtual_address < size &&
        rva - s.virtual_address < s.raw_size) {
      return uint64_t{s.raw_offset} + (rva - s.virtual_address);
    }
  }
  return std::nullopt;
}

// Offset of the first entry of the resource directory at `dir` (an offset from the
// resource section start) whose id matches, or the first entry when `id` is 0.
// Returns the entry's target: a subdirectory or a data entry offset (high bit kept).
std::optional<uint32_t> FindResourceEntry(ByteReader& r, uint64_t base, uint32_t dir, uint32_t id) {
  r.Seek(base + dir + 12);
  const uint32_t named = r.U16(), ids = r.U16();
  for (uint32_t i = 0; i < named + ids && i < 4096; ++i) {
    const uint32_t name = r.U32(), target = r.U32();
    if (id == 0 || (!(name & 0x80000000u) && name == id))
      return target;
  }
  return std::nullopt;
}

std::optional<FileVersion> ReadFixedInfo(ByteReader& r, uint64_t offset, uint32_t size) {
  // VS_VERSIONINFO: 3 words, the key "VS_VERSION_INFO" in UTF-16 with its zero (32 bytes),
  // padding to 4 bytes, then VS_FIXEDFILEINFO. Scan aligned positions in case a writer
  // padded differently.
  for (uint32_t pos = 38; pos + 16 <= size && pos <= 256; pos += 2) {
    r.Seek(offset + pos);
    if (r.U32() != kFixedInfoSignature)
      continue;
    r.U32();  // structure version
    FileVersion v;
    v.high = r.U32();
    v.low = r.U32();
    return v;
  }
  return std::nullopt;
}

std::optional<FileVersion> ReadVersion(ByteReader& r) {
  r.Seek(0);
  if (r.U16() != 0x5A4D)
    return std::nullopt;  // "MZ"
  r.Seek(0x3C);
  const uint32_t pe = r.U32();
  r.Seek(pe);
  if (r.U32() != 0x00004550)
    return std::nullopt;  // "PE\0\0"
  r.Skip(2);
  const uint32_t section_count = r.U16();
  r.Skip(12);
  const uint32_t optional_size = r.U16();
  r.Skip(2);
  const uint64_t optional_start = r.Position();
  const uint16_t magic = r.U16();
  if (magic != 0x10B && magic != 0x20B)
    return std::nullopt;
  const uint64_t dirs = optional_start + (magic == 0x10B ? 96 : 112);
  r.Seek(dirs - 4);
  if (r.U32() <= kResourceDirectoryIndex)
    return std::nullopt;
  r.Seek(dirs + 8 * kResourceDirectoryIndex);
  const uint32_t resource_rva = r.U32();
  if (resource_rva == 0)
    return std::nullopt;

  r.Seek(optional_start + optional_size);
  std::vector<Section> sections(r.Count(section_count, 40));
  for (Section& s : sections) {
    r.Skip(8);
    s.virtual_size = r.U32();
    s.virtual_address = r.U32();
    s.raw_size = r.U32();
    s.raw_offset = r.U32();
    r.Skip(16);
  }
  const std::optional<uint64_t> base = RvaToOffset(sections, resource_rva);
  if (!base)
    return std::nullopt;
  // Three levels: type, name, language; then the data entry.
  std::optional<uint32_t> entry = FindResourceEntry(r, *base, 0, kVersionResourceType);
  for (int level = 0; level < 2 && entry && (*entry & 0x80000000u); ++level) {
    entry = FindResourceEntry(r, *base, *entry & 0x7FFFFFFFu, 0);
  }
  if (!entry || (*entry & 0x80000000u))
    return std::nullopt;
  r.Seek(*base + *entry);
  const uint32_t data_rva = r.U32(), data_size = r.U32();
  const std::optional<uint64_t> data = RvaToOffset(sections, data_rva);
  if (!data)
    return std::nullopt;
  return ReadFixedInfo(r, *data, data_size);
}

}  // namespace

std::optional<FileVersion> ReadPeFileVersion(ByteSource& source) {
  try {
    ByteReader reader(source);
    return ReadVersion(reader);
  } catch (const FormatError&) {
    return std::nullopt;
  }
}

}  // namespace kvb::pack
