// The pieces of the project reader, one per group of tables (used by project_reader*.cpp).
#pragma once

#include "project.h"
#include "toml_reader.h"

namespace kvb::pack {

// project_reader_records.cpp
void ReadVariables(TableReader& root, Project& project);
void ReadBackgroundItems(TableReader& root, Project& project);
void ReadComponents(TableReader& root, Project& project);
void ReadConduits(TableReader& root, Project& project);
void ReadFiles(TableReader& root, Project& project);
void ReadDevices(TableReader& root, Project& project);
void ReadShortcuts(TableReader& root, Project& project);
void ReadRegistry(TableReader& root, Project& project);
void ReadPlatforms(TableReader& root, Project& project);

// project_reader_dialogs.cpp
void ReadDialogs(TableReader& root, Project& project);
// A script key: absent leaves `out` absent (count -1); a string is parsed in the script
// syntax; a negative integer is an absent script stored with that count.
void ReadScriptValue(TableReader& table, std::string_view key, TScript& out);

// Shared by records that embed a registry change (variables and registry changes).
void ReadRegChangeFields(TableReader& r, TSetupRegChange& out);

}  // namespace kvb::pack
