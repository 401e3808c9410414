#include "setupdata/package_reader.h"

#include <algorithm>
#include <string>

#include "setupdata/byte_reader.h"
#include "setupdata/section_reader.h"

namespace kvb {

namespace {

constexpr uint64_t kTrailerSize = 12;

}  // namespace

TArchiveLocations LocateArchives(ByteSource& source, const TSetupHeader& header) {
  TArchiveLocations where;
  const uint64_t size = source.Size();
  const uint64_t temp = header.SectionOffsets[kSectionTempArchive];
  if (temp >= size) {
    throw FormatError("section 15 (temporary-file archive): offset " + std::to_string(temp) +
                      " lies outside the file");
  }
  ByteReader in(source, temp);
  where.HasArchive = in.U8();
  if (where.HasArchive == 1)
    where.TempArchiveOffset = temp + 1;
  const int32_t main = header.Trailer.MainArchiveOffset;
  if (main > 0) {
    if (static_cast<uint64_t>(main) >= size) {
      throw FormatError("main archive: offset " + std::to_string(main) + " lies outside the file");
    }
    where.MainArchiveInFile = true;
    where.MainArchiveOffset = static_cast<uint64_t>(main);
  }
  return where;
}

TSectionRange SectionRange(const TSetupHeader& header, int index, uint64_t file_size) {
  if (file_size < kTrailerSize)
    throw FormatError("the file is too short for a trailer");
  const uint64_t trailer = file_size - kTrailerSize;
  TSectionRange range;
  range.Begin = header.SectionOffsets[index];
  if (range.Begin > trailer) {
    throw FormatError("section " + std::to_string(index) + " (" + SectionName(index) +
                      "): offset " + std::to_string(range.Begin) + " lies outside the data");
  }
  range.End = trailer;
  if (header.Trailer.HeaderOffset > range.Begin) {
    range.End = std::min<uint64_t>(range.End, header.Trailer.HeaderOffset);
  }
  for (int j = 0; j < kSectionCount; ++j) {
    const uint64_t other = header.SectionOffsets[j];
    if (other > range.Begin || (other == range.Begin && j > index)) {
      range.End = std::min(range.End, other);
    }
  }
  return range;
}

TSetupPackage ReadPackage(ByteSource& source) {
  TSetupPackage package;
  package.Header = ReadSetupHeader(source);
  if (package.Header.Trailer.Magic != kSetupMagic) {
    throw FormatError("not a setup package: the trailer's magic differs");
  }
  LoadAllSections(source, package.Header, package.Data);
  package.Archives = LocateArchives(source, package.Header);
  package.TempSection = SectionRange(package.Header, kSectionTempArchive, source.Size());
  package.MainSection = SectionRange(package.Header, kSectionMainArchive, source.Size());
  return package;
}

}  // namespace kvb
