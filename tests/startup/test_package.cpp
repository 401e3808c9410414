#include "startup/test_package.h"

#include <sstream>

#include "setupdata/archive_writer.h"
#include "setupdata/byte_sink.h"
#include "setupdata/default_messages.h"
#include "setupdata/package_writer.h"

namespace kvb::test {

TestPackage::TestPackage() {
  data.Properties.SoftwareName = "Demo";
  data.Properties.CompanyName = "Acme";
  data.Properties.Title = "%SoftwareName% Setup";
  data.Properties.DefaultInstallDir = "C:\\Program Files\\%SoftwareName%";
  data.Properties.Font = {"Tahoma", 9, 0x80000008, 2, 238};
  data.LanguageLessMessages = DefaultMessages();
}

std::string TestPackage::Bytes() const {
  TSetupData written = data;
  ArchiveBlockContent block;
  for (size_t i = 0; i < temp_files.size(); ++i) {
    const TempFileSpec& spec = temp_files[i];
    TSetupInstallerFile record;
    record.EntryIndex =
        spec.entry < 0 ? static_cast<uint32_t>(i) : static_cast<uint32_t>(spec.entry);
    record.File.SourceName = spec.name;
    record.File.DestDir = spec.dest_dir;
    written.TempFiles.push_back(record);
    block.Entries.push_back(ArchiveEntry::FromBytes(static_cast<int32_t>(i), 0, spec.content));
  }
  std::string section;
  if (temp_section) {
    section = *temp_section;
  } else {
    std::ostringstream out;
    WriteTempFileArchiveSection(out, block);
    section = out.str();
  }
  MemorySource stub(image);
  MemorySource temp(section);
  TPackageArchives archives;
  archives.TempSection = &temp;
  StringSink sink;
  WritePackage(sink, &stub, written, archives);
  return sink.Take();
}

std::string WithSectionOutsideFile(std::string package, int index) {
  const size_t trailer = package.size() - 12;
  uint32_t header = 0;
  for (int i = 3; i >= 0; --i)
    header = header << 8 | static_cast<uint8_t>(package[trailer + i]);
  const uint32_t outside = static_cast<uint32_t>(package.size() + 100);
  for (int i = 0; i < 4; ++i)
    package[header + 4 * index + i] = static_cast<char>(outside >> (8 * i));
  return package;
}

}  // namespace kvb::test
