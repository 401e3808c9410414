// Fuzzes the search for the package in signed files: the PE headers up to the security
// directory, the certificate table's placement and entries, the padding and the trailer
// in front of it. Whatever the bytes, the search either refuses them or names an end
// that a signing tool could have produced, and the view it gives reads no further.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "setupdata/certificate_table.h"
#include "setupdata/records.h"
#include "setupdata/setup_data.h"

namespace {

using namespace kvb;

void Check(bool condition) {
  if (!condition)
    std::abort();
}

void CheckSigned(const std::string& bytes, const TPackageEnd& end) {
  Check(end.Padding < 8 && end.End >= 12 && end.TableOffset == end.End + end.Padding);
  Check(end.TableOffset % 8 == 0 && end.TableOffset + end.TableSize == bytes.size());
  Check(std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(end.End),
                    bytes.begin() + static_cast<std::ptrdiff_t>(end.TableOffset),
                    [](char c) { return c == 0; }));
  Check(bytes.compare(end.End - 4, 4, std::string("lVB\0", 4)) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  MemorySource source(bytes);
  TPackageEnd end;
  try {
    end = LocatePackageEnd(source);
  } catch (const FormatError&) {
    return 0;
  }
  if (end.Signed)
    CheckSigned(bytes, end);
  else
    Check(end.End == size);
  std::unique_ptr<ByteSource> view = OpenPackageView(std::make_unique<MemorySource>(bytes));
  Check(view->Size() == end.End);
  TSetupHeader header;
  if (ReadSetupData(*view, header) && end.Signed)
    Check(header.Trailer.Magic == kSetupMagic);
  return 0;
}
