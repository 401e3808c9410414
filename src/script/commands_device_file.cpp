// The one open device file, read and written with the desktop file's rules.
#include "devices/device_accessor.h"
#include "script/command_context.h"
#include "script/device_commands.h"
#include "script/text_file.h"
#include "vars/variables.h"

namespace kvb {
namespace {

constexpr int kFromStart = 0;
constexpr int kFromEnd = 1;
constexpr int kFromCurrent = 2;

// The device file seen through the reading rules of the desktop file.
class DeviceFile : public PositionedFile {
 public:
  explicit DeviceFile(DeviceAccessor& device) : device_(device) {}
  int64_t Position() override { return device_.Seek(0, kFromCurrent); }
  void SetPosition(int64_t position) override { device_.Seek(position, kFromStart); }
  int64_t Size() override { return device_.FileSize(); }
  size_t Read(char* buffer, size_t count) override {
    const int64_t position = Position();
    const int64_t size = Size();
    if (position < 0 || size < 0 || position >= size)
      return 0;
    // The device reads only whole requests, so never ask for more than is left.
    const auto wanted = static_cast<uint32_t>(std::min<int64_t>(count, size - position));
    return device_.ReadFile(buffer, wanted) ? wanted : 0;
  }

 private:
  DeviceAccessor& device_;
};

void DeviceFileOpen(CommandContext& c, DeviceAccessor* device) {
  const std::string path = c.Arg(2);
  const auto check = static_cast<uint32_t>(c.IntArg(3));
  c.SetOutput(device && device->OpenFile(path, check) ? "OK" : "ERROR");
}

void Append(DeviceAccessor& device, const std::string& text) {
  device.Seek(0, kFromEnd);
  device.WriteFile(text.data(), static_cast<uint32_t>(text.size()));
}

}  // namespace

bool RunDeviceFileCommand(CommandContext& c) {
  const uint8_t code = c.Code();
  if (code < 69 || code > 74)
    return false;
  DeviceAccessor* device = ConnectedDevice(c);
  if (code == 69) {
    DeviceFileOpen(c, device);
    return true;
  }
  if (!device || !device->FileIsOpen()) {
    c.SetErrorCode("1");
    return true;
  }
  DeviceFile file(*device);
  switch (code) {
    case 70:
      Append(*device, c.Arg(1));
      break;
    case 71:
      Append(*device, c.Arg(1) + "\r\n");
      break;
    case 74:
      device->CloseFile();
      break;
    case 72: {
      const int32_t count = c.IntArg(2);
      c.SetOutput(ReadFileBytes(file, count).value_or("EOF"));
      break;
    }
    case 73:
      c.SetOutput(ReadFileLine(file).value_or("EOF"));
      break;
  }
  return true;
}

}  // namespace kvb
