// The machine as the script commands see it. Every command that touches the desktop goes
// through one of these narrow interfaces, so tests and the fuzz target can replace the
// machine with a recorder; the Win32 implementations are in script_services_win.h.
// A service that is absent behaves as a machine on which every such operation fails.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/registry_types.h"
#include "script/dll_call.h"

namespace kvb {

class DeviceAccessor;
class HotSyncUsers;
class HttpTransport;
class PreviousInstallDetector;

// Message boxes.
class ScriptPrompt {
 public:
  virtual ~ScriptPrompt() = default;
  // Shows a message box with the MB_ `style`; returns the button chosen (IDOK 1, IDYES 6,
  // IDNO 7).
  virtual int ShowMessage(const std::string& caption, const std::string& text, uint32_t style) = 0;
};

// Predefined registry roots, by their Windows handle values.
enum class RegistryRoot : uint32_t {
  kClassesRoot = 0x80000000,
  kCurrentUser = 0x80000001,
  kLocalMachine = 0x80000002,
};

inline constexpr uint32_t kRegString = kRegSz;

struct RegistryValue {
  uint32_t Type = 0;    // REG_ type
  std::string Text;     // REG_SZ data
  uint32_t Number = 0;  // REG_DWORD data
};

// The desktop registry. Keys are paths below the root without leading or trailing backslash.
class ScriptRegistry {
 public:
  virtual ~ScriptRegistry() = default;
  // Opens the key with full access, without creating it; nullopt when the key does not
  // open or the value is missing. Values of other types come back with their type only.
  virtual std::optional<RegistryValue> ReadValue(RegistryRoot root,
                                                 const std::string& key,
                                                 const std::string& name) = 0;
  // Opens the key for reading only; true when it has the value.
  virtual bool ValueExists(RegistryRoot root, const std::string& key, const std::string& name) = 0;
  // Writes open the key, creating it.
  virtual bool WriteString(RegistryRoot root,
                           const std::string& key,
                           const std::string& name,
                           const std::string& text) = 0;
  virtual bool WriteDword(RegistryRoot root,
                          const std::string& key,
                          const std::string& name,
                          uint32_t value) = 0;
  virtual bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) = 0;
  virtual bool DeleteKey(RegistryRoot root, const std::string& key) = 0;
};

// A file opened for reading and appending by the text-file commands.
class ScriptFileStream {
 public:
  virtual ~ScriptFileStream() = default;
  virtual int64_t Size() = 0;  // -1 when it cannot be determined
  // Reads up to `count` bytes at `position`; returns the number read.
  virtual size_t ReadAt(int64_t position, char* buffer, size_t count) = 0;
  virtual bool Append(std::string_view text) = 0;
};

// Files, folders, processes, windows and shortcuts of the desktop.
class ScriptSystem {
 public:
  virtual ~ScriptSystem() = default;
  virtual void Sleep(uint32_t milliseconds) = 0;
  // Opens the file with the shell's default verb.
  virtual void OpenDocument(const std::string& file) = 0;
  // Starts the program in its own folder; with `wait`, returns once it has ended while
  // keeping the interface responsive.
  virtual void RunProgram(const std::string& program, const std::string& arguments, bool wait) = 0;
  // Opens an existing file for reading and writing, or creates it; null on failure.
  virtual std::unique_ptr<ScriptFileStream> OpenFileForUpdate(const std::string& path) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  virtual bool CopyFileOver(const std::string& source, const std::string& destination) = 0;
  virtual bool FileExists(const std::string& path) = 0;  // false for folders
  virtual std::optional<uint64_t> FileSize(const std::string& path) = 0;
  // The four parts of the file version; nullopt without a version resource.
  virtual std::optional<std::array<uint16_t, 4>> FileVersion(const std::string& path) = 0;
  virtual bool FindFirst(const std::string& pattern) = 0;
  virtual bool MakeFolder(const std::string& path) = 0;
  virtual bool RemoveFolder(const std::string& path) = 0;
  // A shortcut without description or icon, shown normally; an empty working folder is
  // left unset.
  virtual bool CreateShortcut(const std::string& link_path,
                              const std::string& target,
                              const std::string& arguments,
                              const std::string& working_folder) = 0;
  // Empty class or title texts match any window.
  virtual bool WindowExists(const std::string& window_class, const std::string& title) = 0;
  // Posts WM_QUIT (`quit`) or WM_CLOSE to the window, when found.
  virtual void CloseWindow(const std::string& window_class,
                           const std::string& title,
                           bool quit) = 0;
};

// The services the interpreter uses for one setup run. The first six belong to the
// interpreter; the HotSync users and the previous-installation detection are shared with
// other subsystems and must outlive it.
struct ScriptServices {
  std::unique_ptr<ScriptPrompt> Prompt;
  std::unique_ptr<ScriptRegistry> Registry;
  std::unique_ptr<ScriptSystem> System;
  std::unique_ptr<DllCaller> Dll;
  std::unique_ptr<DeviceAccessor> Device;  // none: no ActiveSync, no device
  std::unique_ptr<HttpTransport> Http;     // none: every transfer fails
  HotSyncUsers* HotSync = nullptr;         // none: no HotSync users
  PreviousInstallDetector* Maintenance = nullptr;

  ScriptServices();
  ScriptServices(ScriptServices&&) noexcept;
  ScriptServices& operator=(ScriptServices&&) noexcept;
  ~ScriptServices();
};

}  // namespace kvb
