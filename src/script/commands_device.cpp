// Windows CE device commands. Each (but DEVICECONNECTED) first makes sure a device is
// connected; without one, output variables get the command's no-device value.
#include "base/size_text.h"
#include "base/text.h"
#include "devices/device_accessor.h"
#include "script/command_context.h"
#include "script/conversion.h"
#include "script/device_commands.h"
#include "vars/variables.h"

namespace kvb {
namespace {

std::string Flag(bool value) {
  return value ? "1" : "0";
}

// DEVICEFILEINFO kind to the accessor's FileInfo part; -1 for an unknown kind.
int FileInfoPart(std::string_view kind) {
  if (SameText(kind, "EXISTENCE"))
    return 0;
  if (SameText(kind, "EXTENSION"))
    return 1;
  if (SameText(kind, "NAME"))
    return 2;
  if (SameText(kind, "PATH"))
    return 3;
  if (SameText(kind, "SIZE"))
    return 4;
  return -1;
}

std::string OwnerInfo(DeviceAccessor* d, std::string_view field) {
  if (d && field == "NAME")
    return d->OwnerInfo(0);
  if (d && field == "COMPANY")
    return d->OwnerInfo(1);
  return {};
}

std::string OsVersion(DeviceAccessor* d, std::string_view part) {
  if (!d)
    return "0";
  if (part == "MAJOR")
    return d->OsVersion(0);
  if (part == "MINOR")
    return d->OsVersion(1);
  if (part == "FULL")
    return d->OsVersion(2);
  return {};
}

std::string DeviceFileInfo(DeviceAccessor* d, const std::string& path, std::string_view kind) {
  const int part = FileInfoPart(kind);
  if (d && part >= 0)
    return d->FileInfo(path, part);
  if (!d && (part == 0 || part == 4))
    return "0";
  return {};
}

std::string FreeSpace(CommandContext& c, DeviceAccessor* d) {
  const uint32_t free = d ? d->StoreInformation() : 0;
  if (d && c.Raw(2) == "STRING") {
    return FormatSizeText(free, SizeUnit::kBytes, c.state.Options.DecimalSeparator);
  }
  return std::to_string(free);
}

// Output commands: the value with a device, else the no-device value.
std::optional<std::string> DeviceOutput(CommandContext& c, DeviceAccessor* d) {
  switch (c.Code()) {
    case 62:
      return OwnerInfo(d, c.Raw(2));
    case 63:
      return OsVersion(d, c.Raw(2));
    case 65:
      return DeviceFileInfo(d, c.Arg(2), c.Raw(3));
    case 66:
      // Folder and name joined as given: a package may pass a name prefix as the folder.
      return Flag(d && d->FileExists(c.Arg(3) + c.Arg(2)));
    case 82:
      return Flag(d && d->AppInstalled(c.state.Vars.ExpandText("%CompanyName%"),
                                       c.state.Vars.ExpandText("%SoftwareName%")));
    case 83:
      return d ? d->PlatformName() : std::string();
    case 84:
      return d ? d->ProcessorName() : std::string();
    case 85:
      return Flag(d && d->CpuIsNative());
    case 86:
      return FreeSpace(c, d);
    case 108:
      return d ? d->SerialNumber() : std::string();
    case 109:
      return Flag(d && d->IsXScale());
    default:
      return std::nullopt;
  }
}

bool RunDeviceOutput(CommandContext& c, DeviceAccessor* d) {
  const std::optional<std::string> value = DeviceOutput(c, d);
  if (value)
    c.SetOutput(*value);
  return value.has_value();
}

bool RunDeviceAction(CommandContext& c, DeviceAccessor* d) {
  switch (c.Code()) {
    case 64:
      if (d)
        d->RunProgram(c.Arg(1), c.Arg(2));
      return true;
    case 67:
      if (d)
        d->CreateFolder(c.Arg(1));
      return true;
    case 68:
      if (d)
        d->RemoveFolder(c.Arg(1));
      return true;
    case 78:
      if (d)
        d->CopyOnDevice(c.Arg(1), c.Arg(2));
      return true;
    case 79:
      if (d)
        d->CopyToDevice(c.Arg(1), c.Arg(2));
      return true;
    case 80:
      if (d)
        d->CopyFromDevice(c.Arg(1), c.Arg(2));
      return true;
    case 81:
      if (d)
        d->RemoveFile(c.Arg(1));
      return true;
    default:
      return false;
  }
}

uint32_t SelectDeviceRoot(CommandContext& c, std::string_view keyword) {
  if (const std::optional<uint32_t> root = RegistryRootByName(keyword)) {
    c.state.DeviceRegRoot = *root;
  }
  return c.state.DeviceRegRoot;
}

void DeviceReadReg(CommandContext& c, DeviceAccessor* d) {
  const uint32_t root = SelectDeviceRoot(c, c.Raw(2));
  if (!d) {
    c.SetOutput("");
    return;
  }
  std::optional<std::string> value;
  if (d->OpenKey(root, RegistryKeyPath(c.Arg(3)))) {
    const std::string name = c.Arg(4);
    const std::optional<uint32_t> type = d->ValueType(name);
    if (type == kDeviceRegString) {
      value = d->ReadString(name);
    } else if (type == kDeviceRegDword) {
      if (const std::optional<int32_t> number = d->ReadInteger(name)) {
        value = std::to_string(*number);
      }
    }
    d->CloseKey();
  }
  c.SetOutput(value ? *value : c.Arg(5));
}

void DeviceWriteReg(CommandContext& c, DeviceAccessor* d) {
  const uint32_t root = SelectDeviceRoot(c, c.Raw(1));
  const std::string key = RegistryKeyPath(c.Arg(2));
  const std::string name = c.Arg(3);
  const std::string data = c.Arg(4);
  std::optional<int32_t> number;
  if (IsDigitsOnly(data))
    number = ScriptInteger(data);
  if (!d || !d->OpenKey(root, key))
    return;
  if (number) {
    d->WriteInteger(name, *number);
  } else {
    d->WriteString(name, data);
  }
  d->CloseKey();
}

void DeviceDeleteReg(CommandContext& c, DeviceAccessor* d) {
  const uint32_t root = SelectDeviceRoot(c, c.Raw(1));
  const std::string key = RegistryKeyPath(c.Arg(2));
  const std::string name = c.Arg(3);
  if (!d)
    return;
  if (name.empty()) {
    d->DeleteKey(root, key);
  } else if (d->OpenKey(root, key)) {
    d->DeleteValue(name);
    d->CloseKey();
  }
}

bool RunDeviceRegistry(CommandContext& c, DeviceAccessor* d) {
  switch (c.Code()) {
    case 75:
      DeviceReadReg(c, d);
      return true;
    case 76:
      DeviceWriteReg(c, d);
      return true;
    case 77:
      DeviceDeleteReg(c, d);
      return true;
    default:
      return false;
  }
}

}  // namespace

DeviceAccessor* ConnectedDevice(CommandContext& c) {
  DeviceAccessor* device = c.state.Services.Device.get();
  if (!device)
    return nullptr;
  if (!device->IsConnected() && device->Probe())
    device->Connect(true);
  return device->IsConnected() ? device : nullptr;
}

bool RunDeviceCommand(CommandContext& c) {
  const uint8_t code = c.Code();
  if (code == 61) {
    DeviceAccessor* device = c.state.Services.Device.get();
    c.SetOutput(Flag(device && device->Probe()));
    return true;
  }
  const bool is_device_code =
      (code >= 62 && code <= 86 && (code < 69 || code > 74)) || code == 108 || code == 109;
  if (!is_device_code)
    return false;
  DeviceAccessor* device = ConnectedDevice(c);
  return RunDeviceOutput(c, device) || RunDeviceAction(c, device) || RunDeviceRegistry(c, device);
}

}  // namespace kvb
