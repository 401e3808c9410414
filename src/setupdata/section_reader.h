// Section loaders. Each one seeks to its own section through the header's section
// table and reads it in stream order, so sections may sit anywhere in the file, in any
// order, and be read again; a loader replaces what `data` held for its section and
// leaves everything else alone. Every count is checked against the bytes left before
// anything is allocated; a text that runs into the end of the file ends there.
// Errors: FormatError whose message names the section, when its offset lies outside
// the file or its data ends early or holds an impossible count. The section's fields
// in `data` may then be partly replaced: the package is damaged and cannot be used.
#pragma once

#include <array>

#include "setupdata/byte_source.h"
#include "setupdata/setup_data.h"

namespace kvb {

enum SectionIndex {
  kSectionSoftwareInfo = 0,
  kSectionMessages = 1,
  kSectionAppearance = 2,
  kSectionStartupOptions = 3,
  kSectionVariables = 4,
  kSectionBackItems = 5,
  kSectionComponents = 6,
  kSectionBillboards = 7,
  kSectionScripts = 8,
  kSectionDialogs = 9,
  kSectionFolders = 10,
  kSectionTempFiles = 11,
  kSectionDeviceFiles = 12,
  kSectionShortcuts = 13,
  kSectionRegChanges = 14,
  kSectionTempArchive = 15,
  kSectionMainArchive = 16,
  kSectionPlatforms = 17,
};

// Short readable name of a section ("messages", "dialogs", ...), used in messages.
const char* SectionName(int index);

// Properties (software part), minimum requirements, OS limits.
void LoadSoftwareInfo(ByteSource& source, const TSetupHeader& header, TSetupData& data);
// Languages and message tables.
void LoadMessages(ByteSource& source, const TSetupHeader& header, TSetupData& data);
// Properties (appearance part): bitmaps, background, package font, licence file.
void LoadAppearance(ByteSource& source, const TSetupHeader& header, TSetupData& data);
void LoadStartupOptions(ByteSource& source, const TSetupHeader& header, TSetupData& data);
void LoadVariables(ByteSource& source, const TSetupHeader& header, TSetupData& data);
void LoadBackItems(ByteSource& source, const TSetupHeader& header, TSetupData& data);
// Main-archive progress data, components, HotSync conduits.
void LoadComponents(ByteSource& source, const TSetupHeader& header, TSetupData& data);
void LoadBillboards(ByteSource& source, const TSetupHeader& header, TSetupData& data);
void LoadScripts(ByteSource& source, const TSetupHeader& header, TSetupData& data);
void LoadDialogs(ByteSource& source, const TSetupHeader& header, TSetupData& data);
// File folders and shortcut folders.
void LoadFolders(ByteSource& source, const TSetupHeader& header, TSetupData& data);
void LoadTempFiles(ByteSource& source, const TSetupHeader& header, TSetupData& data);
// Device groups (with the package's own group texts) and device files.
void LoadDeviceFiles(ByteSource& source, const TSetupHeader& header, TSetupData& data);
void LoadShortcuts(ByteSource& source, const TSetupHeader& header, TSetupData& data);
void LoadRegChanges(ByteSource& source, const TSetupHeader& header, TSetupData& data);
void LoadPlatforms(ByteSource& source, const TSetupHeader& header, TSetupData& data);

// Runs the loader of section `index` (0-14 or 17). Throws std::invalid_argument for
// the archive sections 15 and 16 and for indexes out of range.
void LoadSection(int index, ByteSource& source, const TSetupHeader& header, TSetupData& data);

// The order in which start-up reads the sections (the option bytes first, the
// background items last). Sections 15 and 16 are not loaded: see LocateArchives.
inline constexpr std::array<int, 16> kStartupSectionOrder = {3, 0, 4, 2,  1,  11, 17, 6,
                                                             7, 8, 9, 10, 12, 13, 14, 5};

// Loads every section in start-up order.
void LoadAllSections(ByteSource& source, const TSetupHeader& header, TSetupData& data);

}  // namespace kvb
