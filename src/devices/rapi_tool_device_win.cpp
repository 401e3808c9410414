// Device facts, processes and files.
#include <windows.h>

#include "base/message_pump.h"
#include "base/text.h"
#include "base/unique_handle_win.h"
#include "base/wide_text_win.h"
#include "devices/agent_answer.h"
#include "devices/rapi_tool_win.h"

namespace kvb {
namespace {

constexpr DWORD kCopyBlock = 8192;

UniqueHandle OpenLocalFile(const std::string& path, DWORD access, DWORD creation) {
  return UniqueHandle(CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, creation,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

HANDLE TRapiTool::OpenDeviceFile(const std::string& path, DWORD access, DWORD creation) {
  if (!connected_)
    return INVALID_HANDLE_VALUE;
  return Api().CeCreateFile(AnsiToWide(path).c_str(), access, 0, nullptr, creation,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
}

void TRapiTool::CloseDeviceHandle(HANDLE handle) {
  if (handle && handle != INVALID_HANDLE_VALUE)
    Api().CeCloseHandle(handle);
}

int32_t TRapiTool::ProcessorType() {
  if (!connected_)
    return -1;
  SYSTEM_INFO info = {};
  Api().CeGetSystemInfo(&info);
  return static_cast<int32_t>(info.dwProcessorType);
}

bool TRapiTool::Version(DWORD& major, DWORD& minor) {
  major = minor = 0;
  if (!connected_)
    return false;
  CEOSVERSIONINFO info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (!Api().CeGetVersionEx(&info))
    return false;
  major = info.dwMajorVersion;
  minor = info.dwMinorVersion;
  return true;
}

std::string TRapiTool::OsVersion(int part) {
  DWORD major = 0;
  DWORD minor = 0;
  Version(major, minor);
  switch (part) {
    case 0:
      return std::to_string(major);
    case 1:
      return std::to_string(minor);
    case 2:
      return std::to_string(major) + "." + std::to_string(minor);
    default:
      return {};
  }
}

DeviceFacts TRapiTool::Facts() {
  DWORD major = 0;
  DWORD minor = 0;
  Version(major, minor);
  return {kvb::ProcessorCode(static_cast<uint32_t>(ProcessorType())), platform_,
          static_cast<int32_t>(major), static_cast<int32_t>(minor)};
}

std::string TRapiTool::PlatformName() {
  return connected_ ? MatchingPlatformName(platforms_, Facts()) : std::string();
}

bool TRapiTool::CpuIsNative() {
  if (!connected_)
    return false;
  const DeviceFacts facts = Facts();
  return kvb::CpuIsNative(platforms_, MatchingPlatformName(platforms_, facts), facts.ProcessorCode);
}

std::string TRapiTool::ProcessorName() {
  return connected_ ? kvb::ProcessorName(static_cast<uint32_t>(ProcessorType())) : std::string();
}

std::string TRapiTool::SerialNumber() {
  return connected_ ? serial_ : std::string();
}

bool TRapiTool::IsXScale() {
  return connected_ && xscale_;
}

uint32_t TRapiTool::StoreInformation() {
  STORE_INFORMATION info = {};
  if (!connected_ || !Api().CeGetStoreInformation(&info))
    return 0;
  return info.dwFreeSize;
}

bool TRapiTool::RunProgram(const std::string& path, const std::string& arguments) {
  if (!connected_)
    return false;
  const std::wstring wide_arguments = AnsiToWide(arguments);
  PROCESS_INFORMATION process = {};
  if (!Api().CeCreateProcess(AnsiToWide(path).c_str(),
                             wide_arguments.empty() ? nullptr : wide_arguments.c_str(), nullptr,
                             nullptr, FALSE, 0, nullptr, nullptr, nullptr, &process)) {
    return false;
  }
  CloseDeviceHandle(process.hThread);
  CloseDeviceHandle(process.hProcess);
  return true;
}

bool TRapiTool::FileExists(const std::string& path) {
  if (!connected_)
    return false;
  CE_FIND_DATA data = {};
  const HANDLE find = Api().CeFindFirstFile(AnsiToWide(path).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE)
    return false;
  Api().CeFindClose(find);
  return true;
}

std::string TRapiTool::FileInfo(const std::string& path, int part) {
  switch (part) {
    case 0: {
      const HANDLE file = OpenDeviceFile(path, GENERIC_READ, OPEN_EXISTING);
      CloseDeviceHandle(file);
      return file != INVALID_HANDLE_VALUE ? "1" : "0";
    }
    case 1:
      return ExtractFileExt(path);
    case 2:
      return ExtractFileName(path);
    case 3: {
      const std::string folder = ExtractFilePath(path);
      return folder.empty() ? "\\" : IncludeTrailingBackslash(folder);
    }
    case 4: {
      const HANDLE file = OpenDeviceFile(path, GENERIC_READ, OPEN_EXISTING);
      if (file == INVALID_HANDLE_VALUE)
        return "0";
      DWORD high = 0;
      const DWORD low = Api().CeGetFileSize(file, &high);
      CloseDeviceHandle(file);
      if (low == INVALID_FILE_SIZE)
        return "0";
      return std::to_string((static_cast<uint64_t>(high) << 32) | low);
    }
    default:
      return {};
  }
}

bool TRapiTool::CreateFolder(const std::string& path) {
  return connected_ && Api().CeCreateDirectory(AnsiToWide(path).c_str(), nullptr);
}

bool TRapiTool::RemoveFolder(const std::string& path) {
  return connected_ && Api().CeRemoveDirectory(AnsiToWide(path).c_str());
}

bool TRapiTool::RemoveFile(const std::string& path) {
  return connected_ && Api().CeDeleteFile(AnsiToWide(path).c_str());
}

bool TRapiTool::CopyOnDevice(const std::string& source, const std::string& destination) {
  return connected_ &&
         Api().CeCopyFile(AnsiToWide(source).c_str(), AnsiToWide(destination).c_str(), FALSE);
}

bool TRapiTool::CopyToDevice(const std::string& local_path, const std::string& device_path) {
  if (!connected_)
    return false;
  const UniqueHandle source = OpenLocalFile(local_path, GENERIC_READ, OPEN_EXISTING);
  if (!source.Valid())
    return false;
  const HANDLE target = OpenDeviceFile(device_path, GENERIC_WRITE, CREATE_ALWAYS);
  if (target == INVALID_HANDLE_VALUE)
    return false;
  std::vector<char> block(kCopyBlock);
  bool ok = true;
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(source.Get(), block.data(), kCopyBlock, &read, nullptr)) {
      ok = false;
      break;
    }
    if (read == 0)
      break;
    DWORD written = 0;
    if (!Api().CeWriteFile(target, block.data(), read, &written, nullptr) || written != read) {
      ok = false;
      break;
    }
    ProcessPendingMessages();
  }
  CloseDeviceHandle(target);
  if (!ok)
    RemoveFile(device_path);
  return ok;
}

bool TRapiTool::CopyFromDevice(const std::string& device_path, const std::string& local_path) {
  const HANDLE source = OpenDeviceFile(device_path, GENERIC_READ, OPEN_EXISTING);
  if (source == INVALID_HANDLE_VALUE)
    return false;
  bool ok = false;
  {
    const UniqueHandle target = OpenLocalFile(local_path, GENERIC_WRITE, CREATE_ALWAYS);
    std::vector<char> block(kCopyBlock);
    for (ok = target.Valid(); ok;) {
      DWORD read = 0;
      if (!Api().CeReadFile(source, block.data(), kCopyBlock, &read, nullptr)) {
        ok = false;
      } else if (read == 0) {
        break;
      } else {
        DWORD written = 0;
        ok = ::WriteFile(target.Get(), block.data(), read, &written, nullptr) && written == read;
        ProcessPendingMessages();
      }
    }
  }
  CloseDeviceHandle(source);
  if (!ok)
    DeleteFileA(local_path.c_str());
  return ok;
}

bool TRapiTool::OpenFile(const std::string& path, uint32_t check) {
  CloseFile();
  file_ = OpenDeviceFile(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
  if (file_ == INVALID_HANDLE_VALUE || check == 0)
    return FileIsOpen();
  uint32_t first = 0;
  if (ReadFile(reinterpret_cast<char*>(&first), sizeof first) && first == check)
    return true;
  CloseFile();
  return false;
}

void TRapiTool::CloseFile() {
  if (file_ != INVALID_HANDLE_VALUE && connected_)
    Api().CeCloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
}

bool TRapiTool::ReadFile(char* buffer, uint32_t count) {
  DWORD read = 0;
  return FileIsOpen() && Api().CeReadFile(file_, buffer, count, &read, nullptr) && read == count;
}

bool TRapiTool::WriteFile(const char* buffer, uint32_t count) {
  DWORD written = 0;
  return FileIsOpen() && Api().CeWriteFile(file_, buffer, count, &written, nullptr) &&
         written == count;
}

// Device files stay below 4 GiB, so all-ones is never a size or position of one.
int64_t TRapiTool::FileSize() {
  if (!FileIsOpen())
    return -1;
  const DWORD size = Api().CeGetFileSize(file_, nullptr);
  return size == INVALID_FILE_SIZE ? -1 : static_cast<int64_t>(size);
}

int64_t TRapiTool::Seek(int64_t position, int origin) {
  static constexpr DWORD kMethods[] = {FILE_BEGIN, FILE_END, FILE_CURRENT};
  if (!FileIsOpen() || origin < 0 || origin > 2 || position < INT32_MIN || position > INT32_MAX)
    return -1;
  const DWORD moved =
      Api().CeSetFilePointer(file_, static_cast<LONG>(position), nullptr, kMethods[origin]);
  return moved == INVALID_SET_FILE_POINTER ? -1 : static_cast<int64_t>(moved);
}

}  // namespace kvb
