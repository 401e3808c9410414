// Signed setup programs. Authenticode signing appends a certificate table behind the
// package and names it in the security directory of the PE optional header, so the
// trailer is then no longer the last 12 bytes of the file: it ends where the table
// begins, less the zero bytes (at most 7) that the signing tool inserted to align the
// table on 8 bytes. Everything here checks the table's placement strictly; the table's
// content (the signature itself) is the business of Windows and of the verify tools.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "setupdata/byte_reader.h"
#include "setupdata/byte_source.h"

namespace kvb {

// The certificate table of a signed file is damaged or lies about its place: it points
// outside the file, does not end where the file ends, overlaps the package, its entries
// do not fill it, or no trailer stands in front of it. The package counts as damaged.
class CertificateTableError : public FormatError {
 public:
  using FormatError::FormatError;
};

// The security directory (data directory 4) of a PE image.
struct TSecurityDirectory {
  uint64_t EntryOffset = 0;  // file offset of the 8-byte directory entry
  uint32_t TableOffset = 0;  // file offset of the certificate table (0: none)
  uint32_t TableSize = 0;
  bool Empty() const { return TableOffset == 0 && TableSize == 0; }
};

// Reads the security directory; nullopt when `source` is no PE image or its optional
// header has no security entry (such files cannot carry a signature).
std::optional<TSecurityDirectory> ReadSecurityDirectory(ByteSource& source);

// Where the package ends in its file.
struct TPackageEnd {
  uint64_t End = 0;          // the file offset just behind the trailer
  bool Signed = false;       // a certificate table follows
  uint64_t TableOffset = 0;  // its offset and size, when Signed
  uint64_t TableSize = 0;
  uint32_t Padding = 0;  // zero bytes between the trailer and the table
};

// Finds the end of the package: the end of the file when it carries no certificate
// table (no PE image, or an empty security directory), else the start of the table less
// its alignment padding. A signed file must hold the trailer's magic right in front of
// the padding (which is what tells the padding apart from the magic's own last zero
// byte), and the header the trailer names must lie in front of the trailer. Throws
// CertificateTableError when any of this fails; an unsigned file never throws.
TPackageEnd LocatePackageEnd(ByteSource& source);

// The file as far as its package goes: a signed file is cut off in front of the
// padding and the certificate table, so that every reader sees the package as it was
// before signing; an unsigned file is returned as it is. Throws CertificateTableError
// as LocatePackageEnd does.
std::unique_ptr<ByteSource> OpenPackageView(std::unique_ptr<ByteSource> file);

}  // namespace kvb
