#include "startup/temp_file_extractor.h"

#include "base/text.h"
#include "setupdata/archive_stream.h"
#include "setupdata/package_reader.h"

namespace kvb {

namespace {
constexpr int32_t kEntryNotWritten = 1;  // TSetupKVBZip::ErrorCode
constexpr int32_t kInflateFailed = 2;
}  // namespace

// The platform's files as the reader sees them, noting every file the reader creates
// (on the temporary-file list, before a byte is written, so that a file left incomplete
// goes as well) and every folder it cannot make (the reader itself skips such an entry
// without a word).
class TTempFileExtractor::CreatedFiles final : public ArchiveFiles {
 public:
  CreatedFiles(TTempFileExtractor& owner, std::unique_ptr<ArchiveFiles> files)
      : owner_(owner), files_(std::move(files)) {}

  bool Exists(const std::string& path) override { return files_->Exists(path); }
  bool Delete(const std::string& path) override { return files_->Delete(path); }
  bool ForceDirectories(const std::string& folder) override {
    if (files_->ForceDirectories(folder))
      return true;
    owner_.Fail("cannot create the folder " + folder);
    return false;
  }
  std::unique_ptr<ByteSource> OpenVolume(const std::string& path) override {
    return files_->OpenVolume(path);
  }
  std::unique_ptr<ArchiveOutput> Create(const std::string& path) override {
    std::unique_ptr<ArchiveOutput> output = files_->Create(path);
    if (output)
      owner_.temp_file_list_.push_back(path);
    return output;
  }
  std::unique_ptr<ArchiveOutput> Append(const std::string& path) override {
    return files_->Append(path);
  }

 private:
  TTempFileExtractor& owner_;
  std::unique_ptr<ArchiveFiles> files_;
};

TTempFileExtractor::TTempFileExtractor(Variables& vars,
                                       const std::vector<TSetupInstallerFile>& records,
                                       std::vector<std::string>& temp_file_list,
                                       std::string splash_bitmap,
                                       std::unique_ptr<ArchiveFiles> files)
    : vars_(vars),
      records_(records),
      temp_file_list_(temp_file_list),
      splash_bitmap_(std::move(splash_bitmap)) {
  zip_.SetFiles(std::make_unique<CreatedFiles>(*this, std::move(files)));
  zip_.OnBeforeFile = [this](TSetupKVBZip&, int32_t entry, std::string& file_name, bool& extract,
                             uint32_t,
                             uint32_t&) { kvbZipFileRestoreFile(entry, file_name, extract); };
  zip_.OnFileNotWritable = [this](TSetupKVBZip&, int32_t, std::string& file_name) {
    Fail(file_name + " exists and cannot be replaced");
  };
}

void TTempFileExtractor::ExtractTempFiles(ByteSource& source,
                                          const TSetupHeader& header,
                                          TempFilePass pass) {
  const TArchiveLocations archives = LocateArchives(source, header);
  if (archives.HasArchive != 1)
    return;
  zip_.SplashOnly = static_cast<uint8_t>(pass);
  failure_.clear();
  ArchiveStream stream(source, archives.TempArchiveOffset);
  zip_.Extract(stream, vars_.ExpandText("%InstallDir%"));
  if (zip_.ErrorCode == kInflateFailed)
    throw ArchiveError(kArchiveUnreadable);
  if (zip_.ErrorCode == kEntryNotWritten && failure_.empty())
    failure_ = "cannot write " + zip_.CurrentFileName;
  if (!failure_.empty())
    throw TempFileError(failure_);
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
}

void TTempFileExtractor::Fail(const std::string& reason) {
  if (failure_.empty())
    failure_ = reason;
  zip_.Cancel();
}

}  // namespace kvb
