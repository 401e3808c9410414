// Fuzzes the whole package reader: the header, every section loader on its own (as the
// runtime calls them), the archive locations, the message lookup, and a whole-package
// read followed by a rewrite. Writing what was read and reading it again must give the
// same bytes once more: the reader and the writer agree on every field they keep.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "setupdata/byte_reader.h"
#include "setupdata/byte_sink.h"
#include "setupdata/messages.h"
#include "setupdata/package_reader.h"
#include "setupdata/package_writer.h"
#include "setupdata/section_reader.h"

namespace {

using namespace kvb;

std::string Rewrite(ByteSource& source) {
  const TSetupPackage package = ReadPackage(source);
  RangeSource stub(source, 0, package.Header.Trailer.HeaderOffset);
  RangeSource temp(source, package.TempSection.Begin, package.TempSection.Size());
  RangeSource main(source, package.MainSection.Begin, package.MainSection.Size());
  TPackageArchives archives;
  archives.TempSection = temp.Size() ? &temp : nullptr;
  archives.MainSection = &main;
  archives.MainArchiveInVolumes = package.Header.Trailer.MainArchiveOffset <= 0;
  StringSink sink;
  WritePackage(sink, &stub, package.Data, archives);
  return sink.Take();
}

void LoadEachSection(ByteSource& source) {
  TSetupHeader header;
  if (!ReadSetupData(source, header))
    return;
  TSetupData data;
  for (int index : kStartupSectionOrder) {
    try {
      LoadSection(index, source, header, data);
    } catch (const FormatError&) {
    }
  }
  try {
    LocateArchives(source, header);
  } catch (const FormatError&) {
  }
  GetMessageText(data, 61, DefaultLanguageName(data));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  MemorySource source(std::string(reinterpret_cast<const char*>(bytes), size));
  LoadEachSection(source);
  std::string first;
  try {
    first = Rewrite(source);
  } catch (const FormatError&) {
    return 0;
  }
  MemorySource rewritten(first);
  if (Rewrite(rewritten) != first)
    std::abort();
  return 0;
}
