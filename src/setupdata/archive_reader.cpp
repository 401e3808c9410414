#include "setupdata/archive_reader.h"

#include <cstring>

#include "base/text.h"
#include "setupdata/archive_format.h"
#include "setupdata/archive_progress.h"

namespace kvb {

// State of one Extract call.
struct TSetupKVBZip::Run {
  ArchiveStream* stream = nullptr;  // the stream being read now
  std::string dest_dir;
  std::unique_ptr<ByteSource> volume;  // a volume file opened by the reader
  std::unique_ptr<ArchiveStream> volume_stream;
  std::string volume_file_name;  // kept between volumes, handed to OnNeedVolume
  uint32_t last_volume = 0;      // volume numbers must grow: no loops
  uint32_t file_date = 0;        // date of the current entry
  bool writing = true;           // the current entry is being written
};

namespace {

// Clears Busy however Extract ends.
class BusyScope {
 public:
  explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
  ~BusyScope() { busy_ = false; }

 private:
  bool& busy_;
};

}  // namespace

TSetupKVBZip::TSetupKVBZip()
    : files_(MakePlatformArchiveFiles()), chunk_(kMaxCompressedChunk), inflated_(kPieceSize) {}

TSetupKVBZip::~TSetupKVBZip() = default;

void TSetupKVBZip::SetFiles(std::unique_ptr<ArchiveFiles> files) {
  files_ = std::move(files);
}

bool TSetupKVBZip::ExtractFromFile(const std::string& FileName, const std::string& DestDir) {
  ErrorCode = 0;
  std::unique_ptr<ByteSource> source = files_->OpenVolume(FileName);
  if (!source)
    throw ArchiveError(kArchiveUnreadable);
  ArchiveStream stream(*source);
  return Extract(stream, DestDir);
}

bool TSetupKVBZip::Extract(ArchiveStream& Stream, const std::string& DestDir) {
  if (Busy)
    throw std::logic_error("the archive reader is busy");
  ErrorCode = 0;
  FilesExtracted = 0;
  Continue = true;
  BusyScope busy(Busy);
  ReadBlockHeader(Stream);
  BytesDone = 0;
  // A name left from an earlier extraction must never receive a continuation.
  CurrentFileName.clear();
  CurrentEntry = 0;
  Run run;
  run.stream = &Stream;
  run.dest_dir = DestDir;
  try {
    ReadRecords(run);
  } catch (const FormatError&) {
    throw ArchiveError(kArchiveUnreadable);
  }
  if (OnProgress) {
    const ArchiveProgressScale scale{ProgressBase, ProgressMax, ProgressSpan, ProgressScale};
    ReportProgress(kMarkerEndOfBlock, FinalProgressValue(scale));
  }
  return ErrorCode == 0 && Continue;
}

void TSetupKVBZip::ReadBlockHeader(ArchiveStream& stream) {
  try {
    const int32_t length = stream.ReadI32();
    // The signature is read, not compared.
    if (length < 0)
      throw FormatError("negative signature length");
    stream.Skip(static_cast<uint32_t>(length));
    TotalSize = stream.ReadU32();
    FileCount = stream.ReadU32();
  } catch (const FormatError&) {
    throw ArchiveError(kArchiveUnreadable);
  }
}

void TSetupKVBZip::ReadRecords(Run& run) {
  while (CurrentEntry != kMarkerEndOfBlock && Continue) {
    CurrentEntry = run.stream->ReadI32();
    if (CurrentEntry >= 0) {
      FileEntry(run);
    } else if (CurrentEntry == kMarkerVolumeBreak) {
      VolumeBreak(run);
    } else if (CurrentEntry == kMarkerMessage) {
      const int32_t length = run.stream->ReadI32();
      if (length < 0 || static_cast<uint64_t>(length) > run.stream->Remaining()) {
        throw FormatError("damaged message record");
      }
      std::string text(static_cast<size_t>(length), '\0');
      run.stream->Read(text.data(), text.size());
      if (OnMessage)
        OnMessage(*this, text);
    } else if (CurrentEntry != kMarkerEndOfBlock) {
      throw FormatError("damaged record marker");
    }
  }
}

void TSetupKVBZip::FileEntry(Run& run) {
  run.file_date = run.stream->ReadU32();
  CurrentFileName = run.dest_dir;
  bool extract = true;
  if (OnBeforeFile)
    OnBeforeFile(*this, CurrentEntry, CurrentFileName, extract, run.file_date, EntryTag);
  if (extract)
    extract = files_->ForceDirectories(ExtractFilePath(CurrentFileName));
  if (!extract) {
    // A skipped entry is not being written: its continuation in the next volume must
    // not be appended to the file of an earlier entry.
    run.writing = false;
    ReadEntryData(run, nullptr);
    return;
  }
  run.writing = !files_->Exists(CurrentFileName) || files_->Delete(CurrentFileName);
  if (!run.writing) {
    if (OnFileNotWritable)
      OnFileNotWritable(*this, CurrentEntry, CurrentFileName);
    ReadEntryData(run, nullptr);
    return;
  }
  WriteEntry(run, false);
}

void TSetupKVBZip::WriteEntry(Run& run, bool append) {
  std::unique_ptr<ArchiveOutput> output;
  try {
    output = append ? files_->Append(CurrentFileName) : files_->Create(CurrentFileName);
    if (!output)
      throw ArchiveOutputError("cannot create " + CurrentFileName);
    ReadEntryData(run, output.get());
  } catch (const std::exception&) {
    // The file cannot be created or written, the entry magic is wrong, or the stream
    // cannot be read: the output is closed and the extraction ends.
    ErrorCode = 1;
    Continue = false;
    run.writing = false;
    return;
  }
  // Also after an inflation failure: the partly written file is handed on as well.
  run.writing = true;
  if (!append)
    ++FilesExtracted;
  if (OnAfterFile)
    OnAfterFile(*this, CurrentEntry, CurrentFileName, *output, EntryTag);
  output->SetDosDate(run.file_date);
}

void TSetupKVBZip::VolumeBreak(Run& run) {
  const uint32_t number = run.stream->ReadU32();
  if (number == 0 || number > kMaxVolumeNumber || number <= run.last_volume) {
    throw FormatError("damaged volume number");
  }
  run.last_volume = number;
  // Reading of the current stream ends here; a volume the reader opened is closed, the
  // caller's stream is left to the caller.
  run.stream = nullptr;
  run.volume_stream.reset();
  run.volume.reset();
  if (!WaitForVolume(number, run))
    return;
  run.volume = files_->OpenVolume(run.volume_file_name);
  if (!run.volume)
    throw FormatError("cannot open " + run.volume_file_name);
  run.volume_stream = std::make_unique<ArchiveStream>(*run.volume);
  run.stream = run.volume_stream.get();
  if (run.writing && !CurrentFileName.empty()) {
    WriteEntry(run, true);
  } else {
    ReadEntryData(run, nullptr);
  }
}

// Asks the owner for the volume until its file exists. False when the owner gave up.
bool TSetupKVBZip::WaitForVolume(uint32_t number, Run& run) {
  const std::string ext = "." + VolumeExtension(number);
  do {
    if (!OnNeedVolume) {
      Continue = false;
      break;
    }
    OnNeedVolume(*this, static_cast<uint16_t>(number), run.volume_file_name, Continue);
    run.volume_file_name = ChangeFileExt(run.volume_file_name, ext);
  } while (Continue && !files_->Exists(run.volume_file_name));
  return Continue;
}

void TSetupKVBZip::ReadEntryData(Run& run, ArchiveOutput* output) {
  char magic[4];
  run.stream->Read(magic, sizeof magic);
  if (std::memcmp(magic, kEntryMagic.data(), sizeof magic) != 0) {
    throw ArchiveError(kArchiveWrongType);
  }
  while (Continue) {
    const int32_t header = run.stream->ReadI32();
    if (header == kChunkEndOfEntry)
      break;
    ReadChunk(run, header, output);
  }
}

void TSetupKVBZip::ReadChunk(Run& run, int32_t header, ArchiveOutput* output) {
  const uint64_t size = header < 0 ? -int64_t{header} : header;
  const uint64_t limit = header < 0 ? kPieceSize : kMaxCompressedChunk;
  if (size > limit || size > run.stream->Remaining())
    throw FormatError("damaged chunk");
  uint32_t produced = kPieceSize;
  if (!output) {
    run.stream->Skip(size);
  } else if (header > 0) {
    run.stream->Read(chunk_.data(), size);
    const std::optional<size_t> n = inflater_.Inflate(chunk_.data(), size, inflated_.data());
    produced = 0;
    if (n) {
      output->Write(inflated_.data(), *n);
      produced = static_cast<uint32_t>(*n);
    } else {
      ErrorCode = 2;
      Continue = false;
      if (OnArchiveError)
        OnArchiveError(*this, ErrorCode);
    }
  } else {
    run.stream->Read(chunk_.data(), size);
    output->Write(chunk_.data(), size);
    produced = static_cast<uint32_t>(size);
  }
  if (ProcessMessages)
    ProcessMessages();
  BytesDone += produced;
  if (OnProgress) {
    const ArchiveProgressScale scale{ProgressBase, ProgressMax, ProgressSpan, ProgressScale};
    ReportProgress(CurrentEntry, ProgressValue(BytesDone, TotalSize, scale));
  }
}

void TSetupKVBZip::ReportProgress(int32_t entry_index, int64_t value) {
  OnProgress(*this, entry_index, static_cast<uint8_t>(value), Continue);
}

}  // namespace kvb
