// Setup programs opened for reading their package, signed or not, and the program image
// in front of a package with any signature taken off.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "setupdata/byte_source.h"
#include "setupdata/certificate_table.h"
#include "setupdata/package_reader.h"

namespace kvb::pack {

struct SetupFile {
  std::unique_ptr<ByteSource> package;  // the file as far as its package goes
  uint64_t file_size = 0;               // the whole file, signature included
  TPackageEnd end;                      // where the package ends, and the signature
  TSetupPackage pkg;
};

// Opens a setup program and reads its package. Throws std::runtime_error naming the
// file when it cannot be opened, or is no readable setup program (a certificate table
// that lies about its place included).
SetupFile OpenSetupFile(const std::string& path);

// The first bytes of a program with its signature taken off: at most `size` bytes, and
// none from the certificate table on; the security directory reads empty. A package
// built on it is unsigned until the whole setup is signed.
class UnsignedImage final : public ByteSource {
 public:
  UnsignedImage(ByteSource& source, uint64_t size);
  bool WasSigned() const { return was_signed_; }
  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, void* buffer, size_t count) override;

 private:
  ByteSource& source_;
  uint64_t size_;
  bool was_signed_ = false;
  uint64_t entry_ = 0;  // the security directory's entry, emptied when was_signed_
};

}  // namespace kvb::pack
