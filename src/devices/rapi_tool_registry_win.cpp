// The device registry: the one open key of the script commands, and value reading.
#include <windows.h>

#include "base/wide_text_win.h"
#include "devices/agent_answer.h"
#include "devices/rapi_tool_win.h"

namespace kvb {
namespace {

// Larger values are refused rather than allocated: device strings are read with at most
// 8192 characters, and nothing else read here is big.
constexpr DWORD kValueSizeLimit = 64 * 1024;

bool IsPredefinedRoot(HKEY key) {
  const auto value = reinterpret_cast<uintptr_t>(key);
  return value >= 0x80000000u && value <= 0x80000006u;
}

HKEY RootKey(uint32_t root) {
  return reinterpret_cast<HKEY>(static_cast<uintptr_t>(root));
}

std::string WideBytesToAnsi(std::span<const uint8_t> bytes) {
  const std::u16string text = WideValueText(bytes);
  return WideToAnsi(std::wstring(text.begin(), text.end()));
}

}  // namespace

std::optional<std::vector<uint8_t>> TRapiTool::QueryValue(HKEY key,
                                                          const std::string& name,
                                                          DWORD* type) {
  if (!connected_ || !key)
    return std::nullopt;
  const std::wstring wide = AnsiToWide(name);
  DWORD size = 0;
  if (Api().CeRegQueryValueEx(key, wide.c_str(), nullptr, type, nullptr, &size) != ERROR_SUCCESS ||
      size > kValueSizeLimit) {
    return std::nullopt;
  }
  std::vector<uint8_t> data(size);
  if (Api().CeRegQueryValueEx(key, wide.c_str(), nullptr, type, data.data(), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  data.resize(std::min<size_t>(size, data.size()));
  return data;
}

std::optional<std::string> TRapiTool::QueryText(HKEY key, const std::string& name) {
  DWORD type = 0;
  const std::optional<std::vector<uint8_t>> data = QueryValue(key, name, &type);
  if (!data || type != REG_SZ)
    return std::nullopt;
  return WideBytesToAnsi(*data);
}

std::optional<DWORD> TRapiTool::QueryDword(HKEY key, const std::string& name) {
  DWORD type = 0;
  const std::optional<std::vector<uint8_t>> data = QueryValue(key, name, &type);
  if (!data || type != REG_DWORD || data->size() != 4)
    return std::nullopt;
  return static_cast<DWORD>((*data)[0] | ((*data)[1] << 8) | ((*data)[2] << 16) |
                            (static_cast<DWORD>((*data)[3]) << 24));
}

bool TRapiTool::OpenKey(uint32_t root, const std::string& key) {
  CloseKey();
  if (!connected_)
    return false;
  if (key.empty()) {
    key_ = RootKey(root);
    return true;
  }
  HKEY opened = nullptr;
  DWORD disposition = 0;
  if (Api().CeRegCreateKeyEx(RootKey(root), AnsiToWide(key).c_str(), 0, nullptr, 0, 0, nullptr,
                             &opened, &disposition) != ERROR_SUCCESS) {
    return false;
  }
  key_ = opened;
  return true;
}

void TRapiTool::CloseKey() {
  if (key_ && !IsPredefinedRoot(key_) && connected_)
    Api().CeRegCloseKey(key_);
  key_ = nullptr;
}

bool TRapiTool::DeleteKey(uint32_t root, const std::string& key) {
  return connected_ &&
         Api().CeRegDeleteKey(RootKey(root), AnsiToWide(key).c_str()) == ERROR_SUCCESS;
}

bool TRapiTool::DeleteValue(const std::string& name) {
  return connected_ && key_ &&
         Api().CeRegDeleteValue(key_, AnsiToWide(name).c_str()) == ERROR_SUCCESS;
}

std::optional<uint32_t> TRapiTool::ValueType(const std::string& name) {
  if (!connected_ || !key_)
    return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  if (Api().CeRegQueryValueEx(key_, AnsiToWide(name).c_str(), nullptr, &type, nullptr, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return type;
}

std::optional<std::string> TRapiTool::ReadString(const std::string& name) {
  return QueryText(key_, name);
}

std::optional<int32_t> TRapiTool::ReadInteger(const std::string& name) {
  const std::optional<DWORD> value = QueryDword(key_, name);
  if (!value)
    return std::nullopt;
  return static_cast<int32_t>(*value);
}

bool TRapiTool::WriteString(const std::string& name, const std::string& text) {
  if (!connected_ || !key_)
    return false;
  const std::wstring wide = AnsiToWide(text);
  const auto size = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
  return Api().CeRegSetValueEx(key_, AnsiToWide(name).c_str(), 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(wide.c_str()), size) == ERROR_SUCCESS;
}

bool TRapiTool::WriteInteger(const std::string& name, int32_t value) {
  if (!connected_ || !key_)
    return false;
  const auto data = static_cast<DWORD>(value);
  return Api().CeRegSetValueEx(key_, AnsiToWide(name).c_str(), 0, REG_DWORD,
                               reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
}

std::string TRapiTool::OwnerInfo(int field) {
  DWORD major = 0;
  DWORD minor = 0;
  if (!Version(major, minor))
    return {};
  HKEY owner = nullptr;
  if (Api().CeRegOpenKeyEx(HKEY_CURRENT_USER, L"ControlPanel\\Owner", 0, 0, &owner) !=
      ERROR_SUCCESS) {
    return {};
  }
  DWORD type = 0;
  const std::optional<std::vector<uint8_t>> data = QueryValue(owner, "Owner", &type);
  Api().CeRegCloseKey(owner);
  if (!data)
    return {};
  const std::u16string text = OwnerField(*data, field, static_cast<int32_t>(major));
  return WideToAnsi(std::wstring(text.begin(), text.end()));
}

bool TRapiTool::AppInstalled(const std::string& company, const std::string& application) {
  if (!connected_)
    return false;
  HKEY app = nullptr;
  const std::string path = "Software\\Apps\\" + company + " " + application;
  if (Api().CeRegOpenKeyEx(HKEY_LOCAL_MACHINE, AnsiToWide(path).c_str(), 0, 0, &app) !=
      ERROR_SUCCESS) {
    return false;
  }
  const std::optional<DWORD> installed = QueryDword(app, "Instl");
  Api().CeRegCloseKey(app);
  return installed == 1u;
}

}  // namespace kvb
