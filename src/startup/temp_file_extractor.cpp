#include "startup/temp_file_extractor.h"

#include "base/text.h"
#include "setupdata/archive_stream.h"
#include "setupdata/package_reader.h"

namespace kvb {

namespace {
constexpr int32_t kInflateFailed = 2;  // TSetupKVBZip::ErrorCode
}  // namespace

TTempFileExtractor::TTempFileExtractor(Variables& vars,
                                       const std::vector<TSetupInstallerFile>& records,
                                       std::vector<std::string>& temp_file_list,
                                       std::string splash_bitmap,
                                       std::unique_ptr<ArchiveFiles> files)
    : vars_(vars),
      records_(records),
      temp_file_list_(temp_file_list),
      splash_bitmap_(std::move(splash_bitmap)) {
  zip_.SetFiles(std::move(files));
  zip_.OnBeforeFile = [this](TSetupKVBZip&, int32_t entry, std::string& file_name, bool& extract,
                             uint32_t,
                             uint32_t&) { kvbZipFileRestoreFile(entry, file_name, extract); };
}

void TTempFileExtractor::ExtractTempFiles(ByteSource& source,
                                          const TSetupHeader& header,
                                          TempFilePass pass) {
  const TArchiveLocations archives = LocateArchives(source, header);
  if (archives.HasArchive != 1)
    return;
  zip_.SplashOnly = static_cast<uint8_t>(pass);
  ArchiveStream stream(source, archives.TempArchiveOffset);
  zip_.Extract(stream, vars_.ExpandText("%InstallDir%"));
  if (zip_.ErrorCode == kInflateFailed)
    throw ArchiveError(kArchiveUnreadable);
}

void TTempFileExtractor::kvbZipFileRestoreFile(int32_t EntryIndex,
                                               std::string& FileName,
                                               bool& Extract) {
  Extract = false;
  const TSetupInstallerFile* record = nullptr;
  for (const TSetupInstallerFile& candidate : records_) {
    if (static_cast<int64_t>(candidate.EntryIndex) == EntryIndex) {
      record = &candidate;
      break;
    }
  }
  if (!record)
    return;
  const std::string name = ExtractFileName(record->File.SourceName);
  if (name.empty())
    return;
  FileName = IncludeTrailingBackslash(vars_.ExpandText(record->File.DestDir)) + name;
  const bool is_splash = !splash_bitmap_.empty() && SameText(name, splash_bitmap_);
  Extract = zip_.SplashOnly ? is_splash : !is_splash;
  if (Extract)
    temp_file_list_.push_back(FileName);
}

}  // namespace kvb
