// Helpers shared by the parts of the project writer.
#pragma once

#include <string>

#include "names.h"
#include "project.h"
#include "toml_writer.h"

namespace kvb::pack {

void TextIf(TomlWriter& w,
            std::string_view key,
            const std::string& value,
            const std::string& def = "");
// A byte as true/false when it is 0 or 1, else as a number.
void ByteIf(TomlWriter& w, std::string_view key, uint8_t value, uint8_t def = 0);
void U32If(TomlWriter& w, std::string_view key, uint32_t value, uint32_t def = 0);
void I32If(TomlWriter& w, std::string_view key, int32_t value, int32_t def = 0);
void HexIf(TomlWriter& w, std::string_view key, uint32_t value, uint32_t def = 0);
// The name of the value, or the number when it has none.
void EnumIf(TomlWriter& w, std::string_view key, NameList names, uint32_t value, uint32_t def);
void FontIf(TomlWriter& w, std::string_view key, const TFontRecord& font, const TFontRecord& def);
void DateIf(TomlWriter& w, std::string_view key, const std::optional<uint32_t>& date);
void ScriptIf(TomlWriter& w, std::string_view key, const TScript& script);
void RegChangeFields(TomlWriter& w, const TSetupRegChange& c, uint8_t default_root);

// project_writer_records.cpp
void WriteDialogs(TomlWriter& w, const Project& p);
void WriteArchivedFiles(TomlWriter& w, const Project& p);
void WriteRecordLists(TomlWriter& w, const Project& p);

}  // namespace kvb::pack
