// Files, folders, processes, windows and shortcuts of the desktop.
#include "base/text.h"
#include "script/command_context.h"
#include "vars/variables.h"

namespace kvb {
namespace {

// "C:" of "C:\dir\file", "\\server\share" of a UNC path, else empty.
std::string ExtractFileDrive(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':')
    return std::string(path.substr(0, 2));
  if (path.substr(0, 2) != "\\\\")
    return {};
  const size_t server_end = path.find('\\', 2);
  if (server_end == std::string_view::npos)
    return std::string(path);
  const size_t share_end = path.find('\\', server_end + 1);
  return std::string(path.substr(0, share_end));
}

std::string VersionText(ScriptSystem* system, const std::string& file) {
  std::optional<std::array<uint16_t, 4>> version;
  if (system)
    version = system->FileVersion(file);
  const std::array<uint16_t, 4> parts = version.value_or(std::array<uint16_t, 4>{});
  return std::to_string(parts[0]) + "." + std::to_string(parts[1]) + "." +
         std::to_string(parts[2]) + "." + std::to_string(parts[3]);
}

std::string FileInfo(ScriptSystem* system, const std::string& file, std::string_view kind) {
  if (SameText(kind, "NAME"))
    return ExtractFileName(file);
  if (SameText(kind, "PATH"))
    return ExcludeTrailingBackslash(ExtractFilePath(file));
  if (SameText(kind, "DRIVE"))
    return ExtractFileDrive(file);
  if (SameText(kind, "EXTENSION"))
    return ExtractFileExt(file);
  if (SameText(kind, "EXISTENCE"))
    return system && system->FileExists(file) ? "1" : "0";
  if (SameText(kind, "SIZE")) {
    std::optional<uint64_t> size;
    if (system)
      size = system->FileSize(file);
    return std::to_string(size.value_or(0));
  }
  if (SameText(kind, "VERSION"))
    return VersionText(system, file);
  return {};
}

std::string ShortcutPath(CommandContext& c) {
  return IncludeTrailingBackslash(c.Arg(1)) + c.Arg(2) + ".lnk";
}

bool WindowExists(ScriptSystem* system, const std::string& window_class, const std::string& title) {
  // With neither a class nor a title any window would match; that asks for nothing.
  if (!system || (window_class.empty() && title.empty()))
    return false;
  return system->WindowExists(window_class, title);
}

void RunWithSystem(CommandContext& c, ScriptSystem& system) {
  switch (c.Code()) {
    case 4:
      system.OpenDocument(c.Arg(1));
      break;
    case 26:
      system.RunProgram(c.Arg(1), c.Arg(2), c.Raw(3) == "1");
      break;
    case 27:
      system.RemoveFile(c.Arg(1));
      break;
    case 28:
      system.CopyFileOver(c.Arg(1), c.Arg(2));
      break;
    case 38:
      system.MakeFolder(ExcludeTrailingBackslash(c.Arg(1)));
      break;
    case 39:
      system.RemoveFolder(c.Arg(1));
      break;
    case 40:
      system.CreateShortcut(ShortcutPath(c), c.Arg(3), c.Arg(4), c.Arg(5));
      break;
    case 41:
      system.RemoveFile(ShortcutPath(c));
      break;
    case 44: {
      const std::string window_class = c.Arg(1);
      const std::string title = c.Arg(2);
      if (!window_class.empty() || !title.empty()) {
        system.CloseWindow(window_class, title, c.Raw(3) == "1");
      }
      break;
    }
  }
}

}  // namespace

bool RunSystemCommand(CommandContext& c) {
  ScriptSystem* system = c.state.Services.System.get();
  switch (c.Code()) {
    case 36:
      c.SetOutput(FileInfo(system, c.Arg(2), c.Raw(3)));
      return true;
    case 37:
      // Folder and pattern joined as given: a package may pass a name prefix as the folder.
      c.SetOutput(system && system->FindFirst(c.Arg(3) + c.Arg(2)) ? "1" : "0");
      return true;
    case 43:
      c.SetOutput(WindowExists(system, c.Arg(2), c.Arg(3)) ? "1" : "0");
      return true;
    case 4:
    case 26:
    case 27:
    case 28:
    case 38:
    case 39:
    case 40:
    case 41:
    case 44:
      if (system)
        RunWithSystem(c, *system);
      return true;
    default:
      return false;
  }
}

}  // namespace kvb
