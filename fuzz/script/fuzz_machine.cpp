#include "fuzz_machine.h"

#include <algorithm>
#include <cstring>

namespace kvb {
namespace {

class MemoryStream : public ScriptFileStream {
 public:
  explicit MemoryStream(std::shared_ptr<std::string> bytes)
      : keep_(std::move(bytes)), bytes_(*keep_) {}
  int64_t Size() override { return static_cast<int64_t>(bytes_.size()); }
  size_t ReadAt(int64_t position, char* buffer, size_t count) override {
    if (position < 0 || position >= Size())
      return 0;
    const size_t n = std::min(count, bytes_.size() - static_cast<size_t>(position));
    std::memcpy(buffer, bytes_.data() + position, n);
    return n;
  }
  bool Append(std::string_view text) override {
    if (bytes_.size() + text.size() > MemoryFiles::kMaxFileSize)
      return false;
    bytes_.append(text);
    return true;
  }

 private:
  std::shared_ptr<std::string> keep_;
  std::string& bytes_;
};

std::string RegistryName(RegistryRoot root, const std::string& key, const std::string& name) {
  return std::to_string(static_cast<uint32_t>(root)) + "\\" + key + "\\" + name;
}

}  // namespace

std::unique_ptr<ScriptFileStream> MemoryFiles::Open(const std::string& path) {
  if (path.empty() || path.size() > 64)
    return nullptr;
  std::shared_ptr<std::string>& bytes = files[path];
  if (!bytes)
    bytes = std::make_shared<std::string>();
  return std::make_unique<MemoryStream>(bytes);
}

std::optional<RegistryValue> FuzzRegistry::ReadValue(RegistryRoot root,
                                                     const std::string& key,
                                                     const std::string& name) {
  const auto found = values.find(RegistryName(root, key, name));
  if (found == values.end())
    return std::nullopt;
  return found->second;
}
bool FuzzRegistry::ValueExists(RegistryRoot root, const std::string& key, const std::string& name) {
  return values.count(RegistryName(root, key, name)) > 0;
}
bool FuzzRegistry::WriteString(RegistryRoot root,
                               const std::string& key,
                               const std::string& name,
                               const std::string& text) {
  if (values.size() > 64)
    return false;
  values[RegistryName(root, key, name)] = {kRegString, text.substr(0, 256), 0};
  return true;
}
bool FuzzRegistry::WriteDword(RegistryRoot root,
                              const std::string& key,
                              const std::string& name,
                              uint32_t value) {
  if (values.size() > 64)
    return false;
  values[RegistryName(root, key, name)] = {kRegDword, "", value};
  return true;
}
bool FuzzRegistry::DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) {
  return values.erase(RegistryName(root, key, name)) > 0;
}
bool FuzzRegistry::DeleteKey(RegistryRoot, const std::string&) {
  return true;
}

std::optional<uint64_t> FuzzSystem::FileSize(const std::string& path) {
  const auto found = memory.files.find(path);
  if (found == memory.files.end())
    return std::nullopt;
  return found->second->size();
}
std::optional<std::array<uint16_t, 4>> FuzzSystem::FileVersion(const std::string&) {
  if (!answer)
    return std::nullopt;
  return std::array<uint16_t, 4>{1, 0, 65535, 7};
}

std::string FuzzDll::CallString(const std::string&,
                                const std::string&,
                                const std::vector<DllArgument>& arguments) {
  return fail || arguments.empty() ? "" : arguments.front().Text;
}
int32_t FuzzDll::CallInteger(const std::string&,
                             const std::string&,
                             const std::vector<DllArgument>& arguments) {
  return fail || arguments.empty() ? 0 : arguments.back().Value;
}

bool FuzzDevice::OpenFile(const std::string&, uint32_t check) {
  file_open = check == 0 || file.size() >= 4;
  position = 0;
  return file_open;
}
bool FuzzDevice::ReadFile(char* buffer, uint32_t count) {
  if (!file_open || position < 0 || position + count > static_cast<int64_t>(file.size())) {
    return false;
  }
  std::memcpy(buffer, file.data() + position, count);
  position += count;
  return true;
}
bool FuzzDevice::WriteFile(const char* buffer, uint32_t count) {
  if (!file_open || position < 0 || position > static_cast<int64_t>(file.size()) ||
      file.size() + count > MemoryFiles::kMaxFileSize) {
    return false;
  }
  file.replace(static_cast<size_t>(position), count, buffer, count);
  position += count;
  return true;
}
int64_t FuzzDevice::Seek(int64_t offset, int origin) {
  if (!file_open)
    return -1;
  const int64_t base = origin == 0 ? 0 : origin == 1 ? static_cast<int64_t>(file.size()) : position;
  if (base + offset < 0)
    return -1;
  position = base + offset;
  return position;
}
std::optional<uint32_t> FuzzDevice::ValueType(const std::string& name) {
  const auto found = values.find(name);
  if (found == values.end())
    return std::nullopt;
  return found->second.first;
}
std::optional<std::string> FuzzDevice::ReadString(const std::string& name) {
  const auto found = values.find(name);
  if (found == values.end())
    return std::nullopt;
  return found->second.second;
}
std::optional<int32_t> FuzzDevice::ReadInteger(const std::string& name) {
  const auto found = values.find(name);
  if (found == values.end() || found->second.first != kDeviceRegDword)
    return std::nullopt;
  return static_cast<int32_t>(std::stoll(found->second.second));
}
bool FuzzDevice::WriteString(const std::string& name, const std::string& text) {
  if (values.size() > 64)
    return false;
  values[name] = {kDeviceRegString, text.substr(0, 256)};
  return true;
}
bool FuzzDevice::WriteInteger(const std::string& name, int32_t value) {
  if (values.size() > 64)
    return false;
  values[name] = {kDeviceRegDword, std::to_string(value)};
  return true;
}

bool FuzzHttp::Get(const std::string& url, std::string& body) {
  if (succeed)
    body = url.substr(0, 64);
  return succeed;
}
bool FuzzHttp::Download(const std::string&,
                        const std::string&,
                        const HttpProgressHandler& progress) {
  if (progress)
    progress(HttpProgressEvent::kData, 1, 2);
  return succeed;
}

}  // namespace kvb
