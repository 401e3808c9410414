#include "standin_device.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kvb::standin {
namespace {

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\')
      out += "\\\\";
    else if (c == '\t')
      out += "\\t";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else
      out += c;
  }
  return out;
}

std::string Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char c = text[++i];
    out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
  }
  return out;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::string field;
  std::istringstream in(line);
  while (std::getline(in, field, '\t'))
    fields.push_back(field);
  return fields;
}

// Values are stored readably: REG_SZ as text, REG_DWORD as a number, others in hex.
std::string DataText(const RegValue& value) {
  if (value.Type == REG_SZ) {
    std::wstring text;
    for (size_t i = 0; i + 1 < value.Data.size(); i += 2) {
      const wchar_t c = static_cast<wchar_t>(value.Data[i] | (value.Data[i + 1] << 8));
      if (c == 0)
        break;
      text += c;
    }
    return Escape(Utf8(text));
  }
  if (value.Type == REG_DWORD && value.Data.size() == 4) {
    DWORD number = 0;
    memcpy(&number, value.Data.data(), 4);
    return std::to_string(number);
  }
  std::string hex;
  for (uint8_t b : value.Data) {
    static const char digits[] = "0123456789abcdef";
    hex += digits[b >> 4];
    hex += digits[b & 15];
  }
  return hex;
}

std::vector<uint8_t> DataBytes(DWORD type, const std::string& text) {
  std::vector<uint8_t> data;
  if (type == REG_SZ) {
    const std::wstring wide = FromUtf8(Unescape(text)) + L'\0';
    for (wchar_t c : wide) {
      data.push_back(static_cast<uint8_t>(c & 0xFF));
      data.push_back(static_cast<uint8_t>(c >> 8));
    }
  } else if (type == REG_DWORD) {
    const DWORD number = static_cast<DWORD>(std::stoul(text));
    data.resize(4);
    memcpy(data.data(), &number, 4);
  } else {
    for (size_t i = 0; i + 1 < text.size(); i += 2)
      data.push_back(static_cast<uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
  }
  return data;
}

std::wstring Parent(const std::wstring& path) {
  const size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace

std::wstring Upper(std::wstring text) {
  CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty())
    return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

std::wstring FromUtf8(const std::string& text) {
  if (text.empty())
    return {};
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
  return out;
}

void DeviceRegistry::Load(const std::wstring& file) {
  keys_.clear();
  std::ifstream in{std::filesystem::path(file)};
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    const std::vector<std::string> f = Fields(line);
    try {
      if (f.size() == 2 && f[0] == "K") {
        Create(FromUtf8(f[1]));
      } else if ((f.size() == 5 || f.size() == 4) && f[0] == "V") {
        RegValue value{FromUtf8(Unescape(f[2])), static_cast<DWORD>(std::stoul(f[3])), {}};
        value.Data = DataBytes(value.Type, f.size() == 5 ? f[4] : "");
        Create(FromUtf8(f[1])).Values[Upper(value.Name)] = value;
      }
    } catch (const std::exception&) {
      // A line that does not parse is left out.
    }
  }
}

void DeviceRegistry::Save(const std::wstring& file) const {
  std::ofstream out(std::filesystem::path(file), std::ios::trunc);
  for (const auto& [upper, key] : keys_) {
    out << "K\t" << Utf8(key.Path) << "\n";
    for (const auto& [name, value] : key.Values) {
      out << "V\t" << Utf8(key.Path) << "\t" << Escape(Utf8(value.Name)) << "\t" << value.Type
          << "\t" << DataText(value) << "\n";
    }
  }
}

RegKeyData* DeviceRegistry::Find(const std::wstring& path) {
  const auto it = keys_.find(Upper(path));
  return it == keys_.end() ? nullptr : &it->second;
}

RegKeyData& DeviceRegistry::Create(const std::wstring& path) {
  const std::wstring parent = Parent(path);
  if (!parent.empty() && !Find(parent))
    Create(parent);
  RegKeyData& key = keys_[Upper(path)];
  if (key.Path.empty())
    key.Path = path;
  return key;
}

bool DeviceRegistry::Delete(const std::wstring& path) {
  const std::wstring upper = Upper(path);
  if (!keys_.count(upper))
    return false;
  for (auto it = keys_.begin(); it != keys_.end();) {
    if (it->first == upper || it->first.rfind(upper + L"\\", 0) == 0)
      it = keys_.erase(it);
    else
      ++it;
  }
  return true;
}

std::wstring DeviceFolder() {
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"KVB_STANDIN_DEVICE", buffer, MAX_PATH);
  if (length > 0 && length < MAX_PATH)
    return buffer;
  return L"C:\\kvbdevice";
}

DeviceConfig ReadConfig(const std::wstring& folder) {
  DeviceConfig config;
  std::ifstream in{std::filesystem::path(folder + L"\\device.ini")};
  if (!in)
    return config;
  config.Present = true;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    const size_t eq = line.find('=');
    if (eq == std::string::npos || line[0] == ';')
      continue;
    const std::string key = line.substr(0, eq);
    const std::string value = line.substr(eq + 1);
    try {
      ApplySetting(config, key, value);
    } catch (const std::exception&) {
      // A setting that does not parse keeps its default.
    }
  }
  return config;
}

void ApplySetting(DeviceConfig& config, const std::string& key, const std::string& value) {
  if (key == "present")
    config.Present = value == "1";
  else if (key == "init")
    config.Init = value;
  else if (key == "connect_delay_ms")
    config.ConnectDelayMs = std::stoul(value);
  else if (key == "processor")
    config.Processor = std::stoul(value);
  else if (key == "major")
    config.Major = std::stoul(value);
  else if (key == "minor")
    config.Minor = std::stoul(value);
  else if (key == "platform")
    config.Platform = FromUtf8(value);
  else if (key == "serial")
    config.Serial = FromUtf8(value);
  else if (key == "xscale")
    config.XScale = std::stoul(value);
  else if (key == "agent")
    config.Agent = value;
  else if (key == "agent_delay_ms")
    config.AgentDelayMs = std::stoul(value);
  else if (key == "write_limit")
    config.WriteLimit = std::stoll(value);
  else if (key == "free_space")
    config.FreeSpace = std::stoul(value);
}

std::optional<std::wstring> HostPath(const std::wstring& folder, const wchar_t* device_path) {
  if (!device_path)
    return std::nullopt;
  std::wstring path = folder + L"\\root";
  std::wstring piece;
  const std::wstring text = std::wstring(device_path) + L"\\";
  for (wchar_t c : text) {
    if (c != L'\\' && c != L'/') {
      if (c == L':')
        return std::nullopt;
      piece += c;
      continue;
    }
    if (piece == L"..")
      return std::nullopt;
    if (!piece.empty() && piece != L".")
      path += L"\\" + piece;
    piece.clear();
  }
  return path;
}

void AppendLog(const std::wstring& folder, const std::string& line) {
  std::ofstream out(std::filesystem::path(folder + L"\\calls.log"), std::ios::app);
  out << line << "\n";
}

}  // namespace kvb::standin
