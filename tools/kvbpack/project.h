// The project: everything a package is built from. Records are held in their package
// form (TSetupData, texts in the package code page); what the builder derives from the
// files and records (entry numbers, versions, dates, sizes, folder lists, archive
// ranges) is held as optional overrides, empty when the builder is to compute it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "diagnostics.h"
#include "pe_version.h"
#include "setupdata/setup_data.h"
#include "signing.h"

namespace kvb::pack {

// A file taken into an archive: a temporary file (section 11) or a package file
// (section 12).
struct ProjectFile {
  SourcePos pos;                         // the file's table in the project
  SourcePos source_pos;                  // its `source` value
  std::string source;                    // path of the data on disk, as the build opens it
  TSetupFile record;                     // SourceName is filled (default: the source's file name)
  std::optional<uint32_t> entry;         // archive entry number
  std::optional<FileVersion> version;    // package files: version words
  std::optional<uint32_t> date;          // DOS date: the record's (and the archive entry's)
  std::optional<uint32_t> archive_date;  // package files: the archive entry's, when it differs
  std::optional<uint32_t> size;          // package files: the stored size
  std::optional<std::string> block;      // package files: component whose block holds the
                                         // data ("" = the main block)
  bool operator==(const ProjectFile&) const = default;
};

// Overrides of a component's archive data (section 6).
struct ComponentArchive {
  SourcePos pos;  // the component's table
  std::optional<uint32_t> span;
  std::optional<uint32_t> progress_base;
  std::optional<uint32_t> offset;      // only for components without a block
  std::optional<std::string> message;  // the block's message text (default: its name)
  bool operator==(const ComponentArchive&) const = default;
};

struct Project {
  std::string file;      // the project file, for messages
  std::string base_dir;  // relative source paths start here

  // Records and sections. TempFiles, DeviceFiles, FileFolders, ShortcutFolders,
  // MainArchiveSpan/Scale and the component ranges are filled when the project is
  // resolved; everything else comes from the project as written.
  TSetupData data;

  std::vector<ProjectFile> temp_files;
  std::vector<ProjectFile> files;
  std::vector<ComponentArchive> component_archives;  // one per data.Components entry

  std::optional<uint32_t> main_span;
  std::optional<double> main_scale;
  std::optional<std::string> main_message;  // message of the main block (default "")
  std::optional<std::string> temp_message;  // message of the temporary-file block
  std::optional<bool> temp_archive;         // section 15 has a block (default: temp files)
  std::optional<bool> main_archive;         // section 16 has a main block (default: yes)
  std::optional<std::vector<std::string>> file_folders;
  std::optional<std::vector<std::string>> shortcut_folders;

  // The package's uninstaller, added as "KVBUNINST.DAT" in the group "uninstaller".
  bool uninstaller = false;
  std::string uninstaller_program;   // empty: found next to the stub or to kvbpack
  std::string uninstaller_fallback;  // used when none is named and none is found
  SourcePos uninstaller_pos;

  std::string stub;  // the setup program image; empty = from the command line
  SourcePos stub_pos;
  std::optional<uint64_t> volume_size;
  std::optional<uint32_t> default_date;  // file date for files without their own

  // Signing of the built setup ([signing]); paths as written in the project.
  std::optional<SigningOptions> signing;
};

// Default record values that a project need not write.
TSetupFile DefaultPackageFile();   // destination "%InstallDir%\", mode 8, ExtraFlag1 1
TSetupFile DefaultTempFile();      // destination "%TempSetupDir%\", mode 6, ExtraFlag1 1
TFontRecord DefaultFont();         // "MS Sans Serif", 8 points, window text colour
TSetupShortcut DefaultShortcut();  // folder "%ProgramGroupDir%\", shown normally
TSetupData DefaultSetupData();     // English messages, font, options, empty lists

}  // namespace kvb::pack
