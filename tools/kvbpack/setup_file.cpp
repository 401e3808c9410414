#include "setup_file.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace kvb::pack {

namespace {

constexpr uint64_t kDirectoryEntrySize = 8;

}  // namespace

SetupFile OpenSetupFile(const std::string& path) {
  std::unique_ptr<ByteSource> file = OpenFileSource(path);
  if (!file)
    throw std::runtime_error("cannot open \"" + path + "\"");
  SetupFile setup;
  setup.file_size = file->Size();
  try {
    setup.end = LocatePackageEnd(*file);
    setup.package = OpenPackageView(std::move(file));
    setup.pkg = ReadPackage(*setup.package);
  } catch (const FormatError& e) {
    throw std::runtime_error(path + ": not a readable setup program: " + e.what());
  }
  return setup;
}

UnsignedImage::UnsignedImage(ByteSource& source, uint64_t size)
    : source_(source), size_(std::min(size, source.Size())) {
  const std::optional<TSecurityDirectory> dir = ReadSecurityDirectory(source);
  if (!dir || dir->Empty())
    return;
  was_signed_ = true;
  entry_ = dir->EntryOffset;
  if (dir->TableOffset > 0)
    size_ = std::min<uint64_t>(size_, dir->TableOffset);
}

size_t UnsignedImage::ReadAt(uint64_t offset, void* buffer, size_t count) {
  if (offset >= size_)
    return 0;
  const size_t n = source_.ReadAt(offset, buffer, std::min<uint64_t>(count, size_ - offset));
  if (!was_signed_)
    return n;
  const uint64_t begin = std::max(offset, entry_);
  const uint64_t end = std::min(offset + n, entry_ + kDirectoryEntrySize);
  if (begin < end)
    std::memset(static_cast<char*>(buffer) + (begin - offset), 0, end - begin);
  return n;
}

}  // namespace kvb::pack
