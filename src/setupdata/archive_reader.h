// TSetupKVBZip: reads an archive block from a stream, asks its owner through events
// whether and where to write each entry, writes the files chunk by chunk, follows the
// block into further volume files and reports progress.
//
// Damaged data never makes the reader crash, loop or allocate without bound: a chunk
// that runs past the end of its stream, a stored chunk over 65,536 bytes, a compressed
// chunk over 131,072 bytes, a record marker below -3 and a volume number that does not
// grow (or lies outside 1..999) all count as an unreadable archive. While an entry is
// being written that sets ErrorCode 1; elsewhere Extract raises ArchiveError.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "setupdata/archive_codec.h"
#include "setupdata/archive_files.h"
#include "setupdata/archive_stream.h"

namespace kvb {

// Errors Extract raises to its caller; what() is the text for the user.
class ArchiveError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The block header cannot be read, or the block is damaged outside a written entry.
inline constexpr const char* kArchiveUnreadable = "Setup cannot read the archive";
// An entry that is being skipped does not start with the entry magic.
inline constexpr const char* kArchiveWrongType = "Invalid Kalvenbrooker zip file type.";

class TSetupKVBZip {
 public:
  TSetupKVBZip();
  ~TSetupKVBZip();
  TSetupKVBZip(const TSetupKVBZip&) = delete;
  TSetupKVBZip& operator=(const TSetupKVBZip&) = delete;

  uint32_t FilesExtracted = 0;  // files written by the current extraction
  uint32_t TotalSize = 0;       // from the block header
  uint32_t FileCount = 0;       // from the block header
  uint32_t BytesDone = 0;       // uncompressed bytes processed (skipped chunks: 65,536)
  uint8_t SplashOnly = 0;       // free for the owner; the reader does not use it
  int32_t ErrorCode = 0;     // 0 none, 1 an entry cannot be written, 2 a chunk cannot be inflated
  int32_t ProgressBase = 0;  // progress value at the start of this block
  int32_t ProgressMax = 0;   // upper limit of reported values
  int32_t ProgressSpan = 0;  // 0: plain percentages; else the block's width on the owner's scale
  double ProgressScale = 0;  // factor applied to ProgressSpan

  // After every chunk, and once more at the end with EntryIndex -2. Position is the low
  // 8 bits of the computed value. Clearing Continue stops the extraction.
  std::function<void(TSetupKVBZip& Sender, int32_t EntryIndex, uint8_t Position, bool& Continue)>
      OnProgress;
  // The block goes on in volume VolumeNumber. The handler supplies folder and name in
  // VolumeFileName (kept from one volume to the next, empty at the start of each
  // Extract); the reader replaces its extension by the volume's three digits and asks
  // again until that file exists or Continue is cleared. Unassigned: the extraction stops.
  std::function<void(TSetupKVBZip& Sender,
                     uint16_t VolumeNumber,
                     std::string& VolumeFileName,
                     bool& Continue)>
      OnNeedVolume;
  // Before each entry: FileName starts as the destination folder; clear Extract to skip.
  std::function<void(TSetupKVBZip& Sender,
                     int32_t EntryIndex,
                     std::string& FileName,
                     bool& Extract,
                     uint32_t FileDate,
                     uint32_t& Tag)>
      OnBeforeFile;
  // An entry (or its continuation in a new volume) has been written; the output is still
  // open. Also called for a file left incomplete by an inflation failure (ErrorCode 2).
  std::function<void(TSetupKVBZip& Sender,
                     int32_t EntryIndex,
                     std::string& FileName,
                     ArchiveOutput& Output,
                     uint32_t Tag)>
      OnAfterFile;
  // The target exists and cannot be deleted; the entry is skipped.
  std::function<void(TSetupKVBZip& Sender, int32_t EntryIndex, std::string& FileName)>
      OnFileNotWritable;
  // A chunk cannot be inflated (ErrorCode 2); the extraction stops.
  std::function<void(TSetupKVBZip& Sender, int32_t ErrorCode)> OnArchiveError;
  // A message record was read (the name of the component whose files follow).
  std::function<void(TSetupKVBZip& Sender, const std::string& Text)> OnMessage;

  bool Continue = true;         // cleared to stop (by an event or by Cancel)
  bool Busy = false;            // an extraction is running
  int32_t CurrentEntry = 0;     // the last marker read
  std::string CurrentFileName;  // target path of the current entry
  uint32_t EntryTag = 0;        // set by the owner in OnBeforeFile; handed to OnAfterFile

  // Called after every chunk; by default dispatches the pending window messages (at
  // most 50 times a second). Set by owners with their own message loop, and by tests.
  std::function<void()> ProcessMessages = ProcessPendingMessagesThrottled;

  // Extracts the block that starts at the stream's position. True when ErrorCode is 0
  // and Continue is still set at the end. Raises ArchiveError (kArchiveUnreadable,
  // kArchiveWrongType) as described above; Busy is cleared in every case. Calling it
  // while Busy throws std::logic_error.
  bool Extract(ArchiveStream& Stream, const std::string& DestDir);
  // Sets ErrorCode to 0, opens FileName (deny-write sharing) and extracts the block at
  // its start. Raises ArchiveError(kArchiveUnreadable) when the file cannot be opened.
  bool ExtractFromFile(const std::string& FileName, const std::string& DestDir);
  // The extraction stops after the current chunk.
  void Cancel() { Continue = false; }
  bool IsBusy() const { return Busy; }

  // Replaces the platform's files and folders (tests).
  void SetFiles(std::unique_ptr<ArchiveFiles> files);

 private:
  struct Run;

  void ReadBlockHeader(ArchiveStream& stream);
  void ReadRecords(Run& run);
  void FileEntry(Run& run);
  void VolumeBreak(Run& run);
  bool WaitForVolume(uint32_t number, Run& run);
  void WriteEntry(Run& run, bool append);
  void ReadEntryData(Run& run, ArchiveOutput* output);
  void ReadChunk(Run& run, int32_t header, ArchiveOutput* output);
  void ReportProgress(int32_t entry_index, int64_t value);

  std::unique_ptr<ArchiveFiles> files_;
  ChunkInflater inflater_;
  std::vector<uint8_t> chunk_;     // one chunk as stored
  std::vector<uint8_t> inflated_;  // one chunk inflated
};

}  // namespace kvb
