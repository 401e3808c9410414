#include "vars/variables.h"

#include "base/text.h"
#include "vars/builtin_names.h"

namespace kvb {

namespace {

std::string DoubleAmpersands(std::string_view text) {
  std::string out;
  for (char c : text) {
    out += c;
    if (c == '&')
      out += '&';
  }
  return out;
}

std::string Flag(bool value) {
  return value ? "1" : "0";
}

bool HookSays(const std::function<bool()>& hook) {
  return hook && hook();
}

std::string HandleText(const std::function<uintptr_t()>& hook) {
  return hook ? std::to_string(hook()) : "0";
}

MachineFact FactOf(Builtin id) {
  switch (id) {
    case Builtin::kIsAdmin:
      return MachineFact::kIsAdmin;
    case Builtin::kIsNT:
      return MachineFact::kIsNT;
    case Builtin::kOSVersion:
      return MachineFact::kOSVersion;
    case Builtin::kOSMajorVersion:
      return MachineFact::kOSMajorVersion;
    case Builtin::kOSMinorVersion:
      return MachineFact::kOSMinorVersion;
    case Builtin::kColorDepth:
      return MachineFact::kColorDepth;
    case Builtin::kScreenHeight:
      return MachineFact::kScreenHeight;
    case Builtin::kScreenWidth:
      return MachineFact::kScreenWidth;
    case Builtin::kRAMMemory:
      return MachineFact::kRAMMemory;
    case Builtin::kIsDotNetInstalled:
      return MachineFact::kIsDotNetInstalled;
    case Builtin::kDotNetVersion:
      return MachineFact::kDotNetVersion;
    default:
      return MachineFact::kActiveSyncVersion;
  }
}

}  // namespace

Variables::Variables(MachineInfo* machine) : machine_(machine) {}

std::string Variables::MachineFolderValue(MachineFolder folder) {
  return machine_ ? machine_->Folder(folder) : std::string();
}

std::string Variables::ShellFolderValue(ShellFolderKind kind) {
  return machine_ ? machine_->ShellFolder(UseCommonShellFolders, kind) : std::string();
}

// Folder values before the expansion removes their trailing backslash.
std::string Variables::FolderValue(Builtin id) {
  switch (id) {
    case Builtin::kTempSetupDir:
      return TempSetupDir;
    case Builtin::kWinDir:
      return MachineFolderValue(MachineFolder::kWindows);
    case Builtin::kHelpDir:
      return IncludeTrailingBackslash(MachineFolderValue(MachineFolder::kWindows)) + "Help";
    case Builtin::kProgramFilesDir:
      return MachineFolderValue(MachineFolder::kProgramFiles);
    case Builtin::kFontsDir:
      return MachineFolderValue(MachineFolder::kFonts);
    case Builtin::kActiveSyncDir:
      return MachineFolderValue(MachineFolder::kActiveSync);
    case Builtin::kSysDir:
      return MachineFolderValue(MachineFolder::kSystem);
    case Builtin::kCommonFilesDir:
      return MachineFolderValue(MachineFolder::kCommonFiles);
    case Builtin::kWinDrive:
      return ExtractFileDrive(MachineFolderValue(MachineFolder::kWindows));
    case Builtin::kMyDocumentsDir:
      return MachineFolderValue(MachineFolder::kDocuments);
    case Builtin::kHotSyncDir:
      return Hooks.HotSyncDirHook ? Hooks.HotSyncDirHook()
                                  : MachineFolderValue(MachineFolder::kWindows);
    case Builtin::kProgramsDir:
      return ShellFolderValue(ShellFolderKind::kPrograms);
    case Builtin::kStartUpDir:
      return ShellFolderValue(ShellFolderKind::kStartUp);
    case Builtin::kDesktopDir:
      return ShellFolderValue(ShellFolderKind::kDesktop);
    case Builtin::kStartMenuDir:
      return ShellFolderValue(ShellFolderKind::kStartMenu);
    case Builtin::kSourceDir:
      return MachineFolderValue(MachineFolder::kSource);
    case Builtin::kDotNetDir:
      return MachineFolderValue(MachineFolder::kDotNet);
    default:
      return {};
  }
}

std::string Variables::ComputedValue(Builtin id, const Expansion& expansion) {
  if (IsClockBuiltin(id))
    return machine_ ? FormatClock(id, machine_->Now()) : std::string();
  switch (id) {
    case Builtin::kSetupHandle:
      return HandleText(Hooks.SetupHandleHook);
    case Builtin::kActiveDialogHandle:
      return HandleText(Hooks.ActiveDialogHandleHook);
    case Builtin::kIsActiveSyncInstalled:
      return Flag(HookSays(Hooks.ActiveSyncInstalledHook));
    case Builtin::kIsHotSyncInstalled:
      return Flag(HookSays(Hooks.HotSyncInstalledHook));
    case Builtin::kCmdLineParam: {
      // A %CmdParamNum% that is still no number after the reduction to digits and
      // minus signs names no argument.
      const std::string number =
          ExpandVariables("%CmdParamNum%", expansion.software, expansion.company,
                          /*inner=*/true, expansion.escape);
      const std::optional<int32_t> index = ParseLenientInt(number);
      if (!index || !machine_)
        return {};
      return machine_->CommandLineArgument(*index);
    }
    default:
      return machine_ ? machine_->Fact(FactOf(id)) : std::string();
  }
}

std::string Variables::BuiltinValue(Builtin id, const Expansion& expansion) {
  switch (id) {
    case Builtin::kSoftwareName:
      return expansion.escape ? DoubleAmpersands(expansion.software)
                              : std::string(expansion.software);
    case Builtin::kCompanyName:
      return expansion.escape ? DoubleAmpersands(expansion.company)
                              : std::string(expansion.company);
    case Builtin::kProgramGroupDir: {
      // The current program group; an inner expansion has none.
      const std::string group =
          expansion.inner ? std::string()
                          : ExpandVariables("%ProgramGroup%", expansion.software, expansion.company,
                                            /*inner=*/true, expansion.escape);
      return IncludeTrailingBackslash(ShellFolderValue(ShellFolderKind::kPrograms)) + group;
    }
    default:
      break;
  }
  if (IsFolderBuiltin(id))
    return ExcludeTrailingBackslash(FolderValue(id));
  return ComputedValue(id, expansion);
}

std::string Variables::StoredValueToInsert(const std::string& name, const std::string& value) {
  if (!Hooks.IsDirectoryVariableHook)
    return value;
  const std::string delimited = MakeVariableName(name);
  if (SameText(delimited, "%INSTALLDIR%") || Hooks.IsDirectoryVariableHook(delimited)) {
    return ExcludeTrailingBackslash(value);
  }
  return value;
}

std::string Variables::ExpandVariables(std::string_view text,
                                       std::string_view software_name,
                                       std::string_view company_name,
                                       bool inner,
                                       bool escape) {
  // Only names that occur in `text` itself are replaced; values brought in by earlier
  // replacements are not searched for names that the text does not mention.
  const Expansion expansion{software_name, company_name, inner, escape};
  std::string result(text);
  bool limit_reached = false;
  for (const BuiltinName& entry : BuiltinNames()) {
    if (inner && entry.id == Builtin::kCmdLineParam)
      continue;
    if (FindText(text, entry.name) == std::string_view::npos)
      continue;
    const std::string value = BuiltinValue(entry.id, expansion);
    result = ReplaceAllText(result, entry.name, value, MaxExpandedLength, &limit_reached);
    if (limit_reached)
      return result;
  }
  // By index: a hook called on the way may add variables.
  for (size_t index = 0; index < list_.Items().size(); ++index) {
    const std::string& name = list_.Items()[index].first;
    if (name.empty() || FindText(text, name) == std::string_view::npos)
      continue;
    const auto [stored_name, value] = list_.Items()[index];
    result = ReplaceAllText(result, stored_name, StoredValueToInsert(stored_name, value),
                            MaxExpandedLength, &limit_reached);
    if (limit_reached)
      return result;
  }
  return result;
}

std::string Variables::ExpandText(std::string_view text, bool escape) {
  return ExpandVariables(text, SoftwareName, CompanyName, /*inner=*/false, escape);
}

std::string Variables::GetVariableValue(std::string_view text) {
  if (const std::optional<Builtin> id = FindComputedName(text)) {
    return ComputedValue(*id, {SoftwareName, CompanyName, /*inner=*/false, /*escape=*/false});
  }
  return ExpandText(text);
}

void Variables::SetVariable(std::string_view name, std::string_view value, bool directory) {
  const std::string delimited = MakeVariableName(name);
  if (IsReadOnlyVariable(delimited))
    return;
  std::string assigned(value);
  if (SameText(delimited, "%SETUPTYPE%")) {
    const std::string old_type = ExpandText("%SetupType%");
    if (old_type == "2" && assigned != "2")
      SetupTypeComponents[2] = SelectedComponents;
    if (assigned != "0" && assigned != "1" && assigned != "2")
      assigned = "0";
    SelectedComponents = SetupTypeComponents[static_cast<size_t>(assigned[0] - '0')];
  } else if (SameText(delimited, "%COMMONSHELLFOLDERS%")) {
    UseCommonShellFolders = assigned == "1";
    if (!UseCommonShellFolders)
      assigned = "0";
  }
  if (directory)
    assigned = ExcludeTrailingBackslash(assigned);
  list_.SetValue(name, ExpandText(assigned));
  if (OnVariableChanged)
    OnVariableChanged(delimited, assigned);
}

}  // namespace kvb
