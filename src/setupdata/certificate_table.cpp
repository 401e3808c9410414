#include "setupdata/certificate_table.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "setupdata/records.h"

namespace kvb {

namespace {

constexpr uint16_t kDosMagic = 0x5A4D;         // "MZ"
constexpr uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;
constexpr uint32_t kSecurityDirectoryIndex = 4;
constexpr uint64_t kTableAlignment = 8;  // certificate tables and their entries
constexpr uint64_t kTrailerSize = 12;
constexpr uint64_t kHeaderSize = 4 * 18;
constexpr uint32_t kCertificateHeaderSize = 8;  // dwLength, wRevision, wCertificateType

std::string Where(uint64_t offset, uint64_t size) {
  return "the certificate table at " + std::to_string(offset) + " (" + std::to_string(size) +
         " bytes)";
}

std::optional<TSecurityDirectory> ReadDirectory(ByteReader& r) {
  if (r.U16() != kDosMagic)
    return std::nullopt;
  r.Seek(0x3C);
  r.Seek(r.U32());
  if (r.U32() != kPeSignature)
    return std::nullopt;
  r.Skip(16);  // machine, section count, time stamp, symbol table, symbol count
  const uint16_t optional_size = r.U16();
  r.Skip(2);  // characteristics
  const uint64_t optional_start = r.Position();
  const uint16_t magic = r.U16();
  if (magic != kPe32Magic && magic != kPe32PlusMagic)
    return std::nullopt;
  const uint64_t count_at = magic == kPe32Magic ? 92 : 108;
  const uint64_t entry_at = count_at + 4 + 8 * kSecurityDirectoryIndex;
  if (optional_size < entry_at + 8)
    return std::nullopt;
  r.Seek(optional_start + count_at);
  if (r.U32() <= kSecurityDirectoryIndex)
    return std::nullopt;
  TSecurityDirectory dir;
  dir.EntryOffset = optional_start + entry_at;
  r.Seek(dir.EntryOffset);
  dir.TableOffset = r.U32();
  dir.TableSize = r.U32();
  return dir;
}

// The table must end the file and consist of whole certificate entries, each starting
// on an 8-byte boundary.
void CheckTablePlacement(ByteSource& source, const TSecurityDirectory& dir) {
  const uint64_t size = source.Size();
  const uint64_t begin = dir.TableOffset, length = dir.TableSize;
  if (begin == 0 || length == 0)
    throw CertificateTableError(Where(begin, length) + " is incomplete");
  if (begin > size || length > size - begin) {
    throw CertificateTableError(Where(begin, length) + " lies outside the file (" +
                                std::to_string(size) + " bytes)");
  }
  if (begin + length != size) {
    throw CertificateTableError(std::to_string(size - begin - length) + " bytes follow " +
                                Where(begin, length) + ", which must end the file");
  }
  if (begin % kTableAlignment != 0)
    throw CertificateTableError(Where(begin, length) + " is not aligned on 8 bytes");
  ByteReader r(source, begin, size);
  while (r.Remaining() > 0) {
    const uint64_t entry = r.Position();
    const uint32_t entry_length = r.Remaining() >= 4 ? r.U32() : 0;
    if (entry_length < kCertificateHeaderSize || entry_length > size - entry) {
      throw CertificateTableError(Where(begin, length) + " holds a certificate entry at " +
                                  std::to_string(entry) + " that does not fit it");
    }
    const uint64_t next =
        entry + (entry_length + kTableAlignment - 1) / kTableAlignment * kTableAlignment;
    r.Seek(std::min(next, size));
  }
}

// The number of zero bytes between the trailer and the table at `table`: the one count
// from 0 to 7 that leaves the trailer's magic right in front of them (the magic ends in
// a zero byte itself, and its other bytes are not zero, so at most one count fits).
uint32_t FindPadding(ByteSource& source, uint64_t table) {
  const uint64_t window = std::min<uint64_t>(table, kTableAlignment - 1 + 4);
  std::array<uint8_t, kTableAlignment - 1 + 4> bytes{};
  ByteReader r(source, table - window, table);
  r.Bytes(bytes.data(), window);
  uint8_t magic[4];
  for (int i = 0; i < 4; ++i)
    magic[i] = static_cast<uint8_t>(kSetupMagic >> (8 * i));
  for (uint32_t padding = 0; padding < kTableAlignment; ++padding) {
    if (table < kTrailerSize + padding)
      break;
    const uint8_t* tail = bytes.data() + window - padding;
    if (std::memcmp(tail - 4, magic, 4) == 0 &&
        std::all_of(tail, tail + padding, [](uint8_t b) { return b == 0; })) {
      return padding;
    }
  }
  throw CertificateTableError("no package trailer stands in front of " +
                              Where(table, source.Size() - table));
}

class PackageView final : public ByteSource {
 public:
  PackageView(std::unique_ptr<ByteSource> file, uint64_t end) : file_(std::move(file)), end_(end) {}
  uint64_t Size() const override { return end_; }
  size_t ReadAt(uint64_t offset, void* buffer, size_t count) override {
    if (offset >= end_)
      return 0;
    return file_->ReadAt(offset, buffer,
                         static_cast<size_t>(std::min<uint64_t>(count, end_ - offset)));
  }

 private:
  std::unique_ptr<ByteSource> file_;
  uint64_t end_;
};

}  // namespace

std::optional<TSecurityDirectory> ReadSecurityDirectory(ByteSource& source) {
  try {
    ByteReader reader(source);
    return ReadDirectory(reader);
  } catch (const FormatError&) {
    return std::nullopt;  // too short for a PE image with a security entry
  }
}

TPackageEnd LocatePackageEnd(ByteSource& source) {
  TPackageEnd where;
  where.End = source.Size();
  const std::optional<TSecurityDirectory> dir = ReadSecurityDirectory(source);
  if (!dir || dir->Empty())
    return where;
  CheckTablePlacement(source, *dir);
  where.Signed = true;
  where.TableOffset = dir->TableOffset;
  where.TableSize = dir->TableSize;
  where.Padding = FindPadding(source, where.TableOffset);
  where.End = where.TableOffset - where.Padding;
  ByteReader r(source, where.End - kTrailerSize, where.End);
  const uint32_t header = r.U32();
  if (uint64_t{header} + kHeaderSize > where.End - kTrailerSize) {
    throw CertificateTableError(Where(where.TableOffset, where.TableSize) +
                                " overlaps the package: its header at " + std::to_string(header) +
                                " does not lie in front of the trailer");
  }
  return where;
}

std::unique_ptr<ByteSource> OpenPackageView(std::unique_ptr<ByteSource> file) {
  const TPackageEnd where = LocatePackageEnd(*file);
  if (!where.Signed)
    return file;
  return std::make_unique<PackageView>(std::move(file), where.End);
}

}  // namespace kvb
