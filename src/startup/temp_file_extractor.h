// The loader's archive work: extracts the temporary files of the package (section 15)
// at start-up in two passes. The first pass places only the splash bitmap, so that it
// can show while the rest of the package is read; the second places all the others.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
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

// A temporary file of the pass could not be placed; what() names the file and why.
class TempFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
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
  // does nothing when that byte is not 1. Only files this extraction created go on the
  // temporary-file list, so the clean-up at the end never deletes a file that was there
  // before (a read-only or locked target that the reader keeps). Throws TempFileError,
  // after stopping the pass at once, when a file the pass wants cannot be placed: its
  // folder cannot be made, its target exists and cannot be replaced, or it cannot be
  // created or written. Throws FormatError when section 15 lies outside the file,
  // ArchiveError when the block is damaged (a chunk that does not inflate included).
  void ExtractTempFiles(ByteSource& source, const TSetupHeader& header, TempFilePass pass);

  // The reader's before-entry handler. Entries without a record (the first record with
  // the entry's index counts) and records whose source names no file are skipped;
  // otherwise FileName becomes the record's destination folder (expanded) with a
  // trailing backslash and the file-name part of its source name, and the pass decides
  // by comparing that name with the splash bitmap's, case-insensitively.
  void kvbZipFileRestoreFile(int32_t EntryIndex, std::string& FileName, bool& Extract);

  TSetupKVBZip& Zip() { return zip_; }

 private:
  class CreatedFiles;

  // Notes the first file that could not be placed and stops the pass.
  void Fail(const std::string& reason);

  Variables& vars_;
  const std::vector<TSetupInstallerFile>& records_;
  std::vector<std::string>& temp_file_list_;
  std::string splash_bitmap_;
  std::string failure_;  // "" while every wanted file could be placed
  TSetupKVBZip zip_;
};

}  // namespace kvb
