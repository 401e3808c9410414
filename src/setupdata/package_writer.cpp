#include "setupdata/package_writer.h"

#include <limits>
#include <stdexcept>

#include "setupdata/byte_reader.h"
#include "setupdata/byte_writer.h"
#include "setupdata/section_reader.h"
#include "setupdata/section_writer.h"

namespace kvb {

namespace {

constexpr uint64_t kHeaderSize = 4 * kSectionCount;
constexpr uint64_t kTrailerSize = 12;

// Sections 0-14 and 17 in stored form; the archive sections stay empty here.
std::array<std::string, kSectionCount> SerialiseSections(const TSetupData& data) {
  std::array<std::string, kSectionCount> sections;
  for (int i = 0; i < kSectionCount; ++i) {
    if (i != kSectionTempArchive && i != kSectionMainArchive)
      sections[i] = WriteSection(i, data);
  }
  return sections;
}

TPackageLayout LayOut(const std::array<std::string, kSectionCount>& sections,
                      uint64_t stub_size,
                      uint64_t temp_section_size,
                      uint64_t main_section_size) {
  TPackageLayout layout;
  layout.HeaderOffset = stub_size;
  uint64_t pos = stub_size + kHeaderSize;
  for (int i = 0; i < kSectionCount; ++i) {
    layout.SectionOffsets[i] = pos;
    if (i == kSectionTempArchive) {
      pos += temp_section_size;
    } else if (i == kSectionMainArchive) {
      pos += main_section_size;
    } else {
      pos += sections[i].size();
    }
  }
  layout.Padding =
      (kPackageAlignment - (pos + kTrailerSize) % kPackageAlignment) % kPackageAlignment;
  pos += layout.Padding;
  layout.TrailerOffset = pos;
  layout.FileSize = pos + kTrailerSize;
  if (layout.SectionOffsets[kSectionCount - 1] > std::numeric_limits<uint32_t>::max()) {
    throw FormatError("the package is too large: section offsets must stay below 4 GiB");
  }
  return layout;
}

uint64_t TempSectionSize(const TPackageArchives& archives) {
  if (!archives.TempSection)
    return 1;
  if (archives.TempSection->Size() == 0) {
    throw std::invalid_argument("section 15 needs at least its HasArchive byte");
  }
  return archives.TempSection->Size();
}

uint64_t MainSectionSize(const TPackageArchives& archives) {
  return archives.MainSection ? archives.MainSection->Size() : 0;
}

std::string HeaderBytes(const TPackageLayout& layout) {
  ByteWriter out;
  for (uint64_t offset : layout.SectionOffsets)
    out.U32(static_cast<uint32_t>(offset));
  return out.Take();
}

std::string TrailerBytes(const TPackageLayout& layout, bool main_in_volumes) {
  const uint64_t main_offset = main_in_volumes ? 0 : layout.SectionOffsets[kSectionMainArchive];
  if (main_offset > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) {
    throw FormatError("the main archive would start beyond 2 GiB, which the trailer cannot hold");
  }
  ByteWriter out;
  out.U32(static_cast<uint32_t>(layout.HeaderOffset));
  out.I32(static_cast<int32_t>(main_offset));
  out.U32(kSetupMagic);
  return out.Take();
}

}  // namespace

TPackageLayout ComputePackageLayout(const TSetupData& data,
                                    uint64_t stub_size,
                                    uint64_t temp_section_size,
                                    uint64_t main_section_size) {
  return LayOut(SerialiseSections(data), stub_size, temp_section_size, main_section_size);
}

void WritePackage(ByteSink& sink,
                  ByteSource* stub,
                  const TSetupData& data,
                  const TPackageArchives& archives) {
  const std::array<std::string, kSectionCount> sections = SerialiseSections(data);
  const TPackageLayout layout = LayOut(sections, stub ? stub->Size() : 0, TempSectionSize(archives),
                                       MainSectionSize(archives));
  const std::string trailer = TrailerBytes(layout, archives.MainArchiveInVolumes);
  if (stub)
    CopySource(*stub, sink);
  sink.Write(HeaderBytes(layout));
  for (int i = 0; i < kSectionCount; ++i) {
    if (i == kSectionTempArchive) {
      if (archives.TempSection) {
        CopySource(*archives.TempSection, sink);
      } else {
        sink.Write(std::string(1, '\0'));
      }
    } else if (i == kSectionMainArchive) {
      if (archives.MainSection)
        CopySource(*archives.MainSection, sink);
    } else {
      sink.Write(sections[i]);
    }
  }
  sink.Write(std::string(static_cast<size_t>(layout.Padding), '\0'));
  sink.Write(trailer);
}

}  // namespace kvb
