// Access to a connected Windows CE device, as the script commands use it. The ActiveSync
// binding (`TRapiTool`, rapi_tool_win.h) implements this interface; an interpreter
// without one behaves as a machine without "rapi.dll": no device ever answers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kvb {

// Predefined registry roots, by their Windows handle values.
inline constexpr uint32_t kDeviceClassesRoot = 0x80000000;
inline constexpr uint32_t kDeviceCurrentUser = 0x80000001;
inline constexpr uint32_t kDeviceLocalMachine = 0x80000002;

// Registry value types used by the device registry commands.
inline constexpr uint32_t kDeviceRegString = 1;  // REG_SZ
inline constexpr uint32_t kDeviceRegDword = 4;   // REG_DWORD

// Every device operation reports failure (false, empty, 0 or -1) when no device is connected.
class DeviceAccessor {
 public:
  virtual ~DeviceAccessor() = default;

  virtual bool IsConnected() = 0;
  // Whether a device answers right now, without waiting and without staying connected.
  virtual bool Probe() = 0;
  // Connects (waiting until the device answers or the user cancels); true when the
  // device was identified. Probes first unless `skip_probe`.
  virtual bool Connect(bool skip_probe) = 0;

  // Device facts. `field`: 0 owner name, 1 company. `part`: 0 major, 1 minor, 2 "major.minor".
  virtual std::string OwnerInfo(int field) = 0;
  virtual std::string OsVersion(int part) = 0;
  virtual std::string PlatformName() = 0;
  virtual std::string ProcessorName() = 0;
  virtual bool CpuIsNative() = 0;
  virtual uint32_t StoreInformation() = 0;  // free store space in bytes
  virtual std::string SerialNumber() = 0;
  virtual bool IsXScale() = 0;
  virtual bool AppInstalled(const std::string& company, const std::string& application) = 0;

  // Files and processes on the device. FileInfo parts: 0 "1"/"0" whether the file can be
  // opened for reading, 1 extension, 2 file name, 3 folder with trailing backslash, 4 size.
  virtual bool RunProgram(const std::string& path, const std::string& arguments) = 0;
  virtual std::string FileInfo(const std::string& path, int part) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool CreateFolder(const std::string& path) = 0;
  virtual bool RemoveFolder(const std::string& path) = 0;  // the folder must be empty
  virtual bool RemoveFile(const std::string& path) = 0;
  virtual bool CopyOnDevice(const std::string& source,
                            const std::string& destination) = 0;  // overwrites
  virtual bool CopyToDevice(const std::string& local_path, const std::string& device_path) = 0;
  virtual bool CopyFromDevice(const std::string& device_path, const std::string& local_path) = 0;

  // The one open device file. OpenFile opens or creates it, closing a previous one; a
  // non-zero `check` must equal the file's first 32-bit value. Read and write succeed only
  // when all `count` bytes move. Seek origins: 0 start, 1 end, 2 current; it returns the
  // new position or -1.
  virtual bool OpenFile(const std::string& path, uint32_t check) = 0;
  virtual bool FileIsOpen() = 0;
  virtual void CloseFile() = 0;
  virtual bool ReadFile(char* buffer, uint32_t count) = 0;
  virtual bool WriteFile(const char* buffer, uint32_t count) = 0;
  virtual int64_t FileSize() = 0;  // -1 on failure
  virtual int64_t Seek(int64_t position, int origin) = 0;

  // The one open device registry key. OpenKey opens or creates `key` under `root` (an
  // empty key opens the root itself).
  virtual bool OpenKey(uint32_t root, const std::string& key) = 0;
  virtual void CloseKey() = 0;
  virtual bool DeleteKey(uint32_t root, const std::string& key) = 0;
  virtual bool DeleteValue(const std::string& name) = 0;
  virtual std::optional<uint32_t> ValueType(const std::string& name) = 0;  // nullopt: missing
  virtual std::optional<std::string> ReadString(const std::string& name) = 0;
  virtual std::optional<int32_t> ReadInteger(const std::string& name) = 0;
  virtual bool WriteString(const std::string& name, const std::string& text) = 0;
  virtual bool WriteInteger(const std::string& name, int32_t value) = 0;
};

}  // namespace kvb
