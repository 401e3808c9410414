// The loader's archive work: extracts the temporary files of the package (section 15)
// at start-up in two passes. The first pass places only the splash bitmap, so that it
// can show while the rest of the package is read; the second places all the others.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "setupdata/archive_reader.h"
#include "setupdata/setup_data.h"
#include "vars/variables.h"

namespace kvb {

enum class TempFilePass : uint8_t {
  kOtherFiles = 0,  // every temporary file but the splash bitmap
  kSplashOnly = 1,  // only the splash bitmap
};

class TTempFileExtractor {
 public:
  // Keeps references to the variables, the temporary-file records and the list of
  // extracted files; all must outlive the extractor. `files` are the files the archive
  // reader writes through.
  TTempFileExtractor(Variables& vars,
                     const std::vector<TSetupInstallerFile>& records,
                     std::vector<std::string>& temp_file_list,
                     std::string splash_bitmap,
                     std::unique_ptr<ArchiveFiles> files);

  // Extracts the pass's files from the archive block behind section 15's first byte;
  // does nothing when that byte is not 1. Every file placed is appended to the
  // temporary-file list first. A file that cannot be written is left out. Throws
  // FormatError when section 15 lies outside the file, ArchiveError when the block is
  // damaged (a chunk that does not inflate included).
  void ExtractTempFiles(ByteSource& source, const TSetupHeader& header, TempFilePass pass);

  // The reader's before-entry handler. Entries without a record (the first record with
  // the entry's index counts) and records whose source names no file are skipped;
  // otherwise FileName becomes the record's destination folder (expanded) with a
  // trailing backslash and the file-name part of its source name, and the pass decides
  // by comparing that name with the splash bitmap's, case-insensitively.
  void kvbZipFileRestoreFile(int32_t EntryIndex, std::string& FileName, bool& Extract);

  TSetupKVBZip& Zip() { return zip_; }

 private:
  Variables& vars_;
  const std::vector<TSetupInstallerFile>& records_;
  std::vector<std::string>& temp_file_list_;
  std::string splash_bitmap_;
  TSetupKVBZip zip_;
};

}  // namespace kvb
