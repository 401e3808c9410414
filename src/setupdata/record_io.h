// Stored forms of the plain records. Every Read function fills a record from the
// reader in stream order and throws FormatError when the data ends early; every Write
// function is its exact mirror, so Write(Read(bytes)) gives the same bytes back.
// Texts are kept byte for byte; only the font face name is cut (to kFixedTextLength).
#pragma once

#include <cstddef>

#include "setupdata/byte_reader.h"
#include "setupdata/byte_writer.h"
#include "setupdata/records.h"

namespace kvb {

// Smallest stored size of each record, in the smaller of its two forms (every text at
// least its zero byte). Counts read from a package are checked against the bytes left
// with these before anything is allocated.
inline constexpr size_t kMinFontSize = 1 + 4 + 4 + 1 + 1;
inline constexpr size_t kMinFileSize = 8 + 9;
inline constexpr size_t kMinShortcutSize = 10 + 8 + 1;
inline constexpr size_t kMinRegChangeSize = 7 + 1 + 4 + 1;
inline constexpr size_t kMinBackItemSize = 2 + 1 + 4 + 1;  // a picture item
inline constexpr size_t kMinVariableSize = 1 + kMinRegChangeSize + 1;
inline constexpr size_t kMinComponentSize = 3 + 12;
inline constexpr size_t kMinConduitSize = 9 + 3;
inline constexpr size_t kMinDeviceGroupSize = 5;
inline constexpr size_t kMinPlatformSize = 4 + 8;
inline constexpr size_t kMinTempFileSize = 4 + kMinFileSize;
inline constexpr size_t kMinDeviceFileSize = 20 + kMinFileSize;

// Font: zstr face name (cut to kFixedTextLength), u32 size, u32 colour, u8 style,
// u8 character set.
TFontRecord ReadFont(ByteReader& in);
void WriteFont(ByteWriter& out, const TFontRecord& font);

// File record. The old form lacks ExtraFlag2 (read as 0, not written). Package and
// Size are not part of the stored record.
TSetupFile ReadSetupFile(ByteReader& in, StreamForm form = StreamForm::kCurrent);
void WriteSetupFile(ByteWriter& out,
                    const TSetupFile& file,
                    StreamForm form = StreamForm::kCurrent);

// Shortcut. The old form lacks ExtraFlag2.
TSetupShortcut ReadShortcut(ByteReader& in, StreamForm form = StreamForm::kCurrent);
void WriteShortcut(ByteWriter& out,
                   const TSetupShortcut& shortcut,
                   StreamForm form = StreamForm::kCurrent);

// Registry change. The old form lacks ExtraFlag2.
TSetupRegChange ReadRegChange(ByteReader& in, StreamForm form = StreamForm::kCurrent);
void WriteRegChange(ByteWriter& out,
                    const TSetupRegChange& change,
                    StreamForm form = StreamForm::kCurrent);

// Background item: a text item stores caption, font and shadow, a picture item its
// picture fields only. The old form lacks Flag2. Reserved is never stored (read as 0).
TSetupBackItem ReadBackItem(ByteReader& in, StreamForm form = StreamForm::kCurrent);
void WriteBackItem(ByteWriter& out,
                   const TSetupBackItem& item,
                   StreamForm form = StreamForm::kCurrent);

// Package variable: zstr name, the current registry-change form, u8 folder flag.
TSetupVariable ReadVariable(ByteReader& in);
void WriteVariable(ByteWriter& out, const TSetupVariable& variable);

// Component: three zstr, then archive offset, span and progress base.
TInstallerComponent ReadComponent(ByteReader& in);
void WriteComponent(ByteWriter& out, const TInstallerComponent& component);

THotSyncConduit ReadConduit(ByteReader& in);
void WriteConduit(ByteWriter& out, const THotSyncConduit& conduit);

// Device group: Name, Folder, Text3, Text4, CabFiles (Text5 and Flag are not stored).
TSetupDeviceFileGroup ReadDeviceGroup(ByteReader& in);
void WriteDeviceGroup(ByteWriter& out, const TSetupDeviceFileGroup& group);

// CE platform entry (the package's platform section and the uninstall log).
TSetupPlatform ReadPlatform(ByteReader& in);
void WritePlatform(ByteWriter& out, const TSetupPlatform& platform);

// Temporary file: u32 entry index, current file record. Version and date stay 0 and
// are not written.
TSetupInstallerFile ReadTempFile(ByteReader& in);
void WriteTempFile(ByteWriter& out, const TSetupInstallerFile& file);

// Device file: u32 entry index, version high, version low, DOS date, size, then the
// current file record; the size goes to File.Size.
TSetupInstallerFile ReadDeviceFile(ByteReader& in);
void WriteDeviceFile(ByteWriter& out, const TSetupInstallerFile& file);

}  // namespace kvb
