// Start-of-run population of the variable store from the package: the package variables
// with their registry-backed defaults, and every variable the package's scripts and
// dialogs mention together with the well-known variables.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setupdata/records.h"
#include "vars/variables.h"

namespace kvb {

struct TSetupData;

enum class RegRoot : uint8_t { kClassesRoot, kCurrentUser, kLocalMachine };

// The registry reads behind the package variables' defaults.
class RegistryReader {
 public:
  virtual ~RegistryReader() = default;
  // The value `value_name` ("" = the unnamed value) of `key` under `root` as a string.
  // The key is opened without being created and with full access, so a user who may
  // not write there gets nullopt; nullopt too when the value is missing or is neither
  // REG_SZ nor REG_EXPAND_SZ.
  virtual std::optional<std::string> ReadString(RegRoot root,
                                                std::string_view key,
                                                std::string_view value_name) = 0;
};

// The directory-variable test for `VariableHooks::IsDirectoryVariableHook`: true when
// the name followed by one backslash is one of the package's file folders (section 10).
std::function<bool(std::string_view name)> DirectoryVariableTest(
    std::vector<std::string> file_folders);

// Copies the product and company names and the three setup-type selections, and
// selects the components of setup type 0.
void ApplySetupProperties(Variables& vars, const TSetupProperties& properties);

// Empties the store and assigns every package variable (section 4): the registry value
// its source names, else the source's default text expanded. A root byte other than
// 0-2 keeps the root of the record before (HKEY_CURRENT_USER for the first).
void LoadVariables(Variables& vars,
                   const std::vector<TSetupVariable>& records,
                   RegistryReader& registry);

// The %-delimited names, each once, of the output variables of every script statement
// and of the variables bound to value-carrying dialog controls, then the well-known
// names that are still missing.
std::vector<std::string> CollectVariableNames(const TSetupData& data);

// Creates every collected variable empty, then gives the well-known variables their
// start values: %InstallDir% and %ProgramGroup% from the package's defaults, "0" for the
// flags and counters, and the given HotSync user and language.
void InitVariables(Variables& vars,
                   const TSetupData& data,
                   std::string_view hotsync_user,
                   std::string_view language);

}  // namespace kvb
