#include "uninstall/uninstaller_state.h"

namespace kvb {

std::optional<std::string> LoadUninstallLog(const std::string& path, TUninstallLog& log) {
  switch (ReadUninstallLogFile(path, log)) {
    case LogReadStatus::kOk:
      return std::nullopt;
    case LogReadStatus::kInvalidTag:
      return std::string(kInvalidLogText);
    case LogReadStatus::kDamaged:
      return "The uninstall log \"" + path + "\" is damaged.";
    case LogReadStatus::kCannotOpen:
      break;
  }
  return "The uninstall log \"" + path + "\" cannot be opened.";
}

RunStateSnapshot::RunStateSnapshot(const TSetupData& data, const Variables& vars)
    : properties_(data.Properties),
      platforms_(data.Platforms),
      software_name_(vars.SoftwareName),
      company_name_(vars.CompanyName),
      variables_(vars.List()) {}

void RunStateSnapshot::Restore(TSetupData& data, Variables& vars) const {
  data.Properties = properties_;
  data.Platforms = platforms_;
  vars.SoftwareName = software_name_;
  vars.CompanyName = company_name_;
  vars.List() = variables_;
}

}  // namespace kvb
