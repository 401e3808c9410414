// `TRapiTool`: a Windows CE device connected through ActiveSync, reached through the
// Remote API. It connects (waiting, cancellable), identifies the device with the agent
// program, matches it against the package's CE platform table and carries out the
// device commands of the scripts. Every device operation fails when no device is
// connected, and when "rapi.dll" is missing no device is ever connected.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "devices/device_accessor.h"
#include "devices/rapi_library_win.h"
#include "devices/rapi_platforms.h"

namespace kvb {

// How long the connection waits, at most. Either wait also ends when the user cancels.
struct RapiWaitLimits {
  DWORD ConnectMs = 60000;      // for ActiveSync to report the connection
  DWORD AgentAnswerMs = 20000;  // for the device agent to write its answer
  DWORD AgentPollMs = 50;       // between two looks at the agent's answer
};

class TRapiTool final : public DeviceAccessor {
 public:
  TRapiTool();  // loads "rapi.dll" when it is there
  ~TRapiTool() override;
  TRapiTool(const TRapiTool&) = delete;
  TRapiTool& operator=(const TRapiTool&) = delete;

  // Called with false when a connection attempt starts and with true when it has ended
  // (the device-connection wait window shows in between); may be empty.
  std::function<void(bool done)> OnConnectProgress;
  std::function<void(bool done)> OnDisconnectProgress;
  RapiWaitLimits Limits;

  // Ends a connection wait in progress (the wait window's cancel); Connect then fails.
  void CancelConnect() { cancel_requested_ = true; }
  bool Disconnect();  // true when the device was not connected or the end was accepted

  // The package's CE platform table (replacing the one held).
  void SetPlatforms(const std::vector<TSetupPlatform>& platforms);
  const std::vector<TRapiDevice>& Platforms() const { return platforms_; }

  // SYSTEM_INFO processor type of the device; -1 when not connected.
  int32_t ProcessorType();

  bool IsConnected() override { return connected_; }
  bool Probe() override;
  bool Connect(bool skip_probe) override;

  std::string OwnerInfo(int field) override;
  std::string OsVersion(int part) override;
  std::string PlatformName() override;
  std::string ProcessorName() override;
  bool CpuIsNative() override;
  uint32_t StoreInformation() override;
  std::string SerialNumber() override;
  bool IsXScale() override;
  bool AppInstalled(const std::string& company, const std::string& application) override;

  bool RunProgram(const std::string& path, const std::string& arguments) override;
  std::string FileInfo(const std::string& path, int part) override;
  bool FileExists(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool CopyOnDevice(const std::string& source, const std::string& destination) override;
  // Copies in blocks of 8 KiB, processing window messages between blocks; a copy that
  // breaks off removes the partial target file.
  bool CopyToDevice(const std::string& local_path, const std::string& device_path) override;
  bool CopyFromDevice(const std::string& device_path, const std::string& local_path) override;

  bool OpenFile(const std::string& path, uint32_t check) override;
  bool FileIsOpen() override { return file_ != INVALID_HANDLE_VALUE; }
  void CloseFile() override;
  bool ReadFile(char* buffer, uint32_t count) override;
  bool WriteFile(const char* buffer, uint32_t count) override;
  int64_t FileSize() override;
  int64_t Seek(int64_t position, int origin) override;

  bool OpenKey(uint32_t root, const std::string& key) override;
  void CloseKey() override;
  bool DeleteKey(uint32_t root, const std::string& key) override;
  bool DeleteValue(const std::string& name) override;
  std::optional<uint32_t> ValueType(const std::string& name) override;
  std::optional<std::string> ReadString(const std::string& name) override;
  std::optional<int32_t> ReadInteger(const std::string& name) override;
  bool WriteString(const std::string& name, const std::string& text) override;
  bool WriteInteger(const std::string& name, int32_t value) override;

 private:
  const RapiFunctions& Api() const { return library_.Api(); }
  bool VersionAnswers();
  bool WaitForConnection(const RAPIINIT& init);
  bool Identify();
  bool CopyAgent(AgentFamily family);
  bool AwaitAgentAnswer(HKEY key);
  void ReadAgentAnswer(HKEY key);
  void RemoveAgentTraces(HKEY key);
  bool Version(DWORD& major, DWORD& minor);
  DeviceFacts Facts();
  // A value's bytes and type, read size first; nullopt when missing or unreasonably large.
  std::optional<std::vector<uint8_t>> QueryValue(HKEY key, const std::string& name, DWORD* type);
  std::optional<std::string> QueryText(HKEY key, const std::string& name);
  std::optional<DWORD> QueryDword(HKEY key, const std::string& name);
  HANDLE OpenDeviceFile(const std::string& path, DWORD access, DWORD creation);
  void CloseDeviceHandle(HANDLE handle);

  RapiLibrary library_;
  bool cancel_requested_ = false;
  bool connecting_ = false;
  bool connected_ = false;
  std::string platform_;
  std::string serial_;
  bool xscale_ = false;
  HANDLE file_ = INVALID_HANDLE_VALUE;
  HKEY key_ = nullptr;
  std::vector<TRapiDevice> platforms_;
};

}  // namespace kvb
