// Writes a small valid package behind an executable image, with the format library:
// the package the end-to-end tests and scripts/build.sh run until packages come from
// the builder. Usage: make_package STUB.exe OUT.exe
#include <cstdio>
#include <exception>

#include "setupdata/byte_sink.h"
#include "setupdata/default_messages.h"
#include "setupdata/package_writer.h"

namespace {

kvb::TSetupData SampleData() {
  kvb::TSetupData data;
  kvb::TSetupProperties& p = data.Properties;
  p.SoftwareName = "Kalvenbrooker Sample";
  p.CompanyName = "Kalvenbrooker";
  p.DefaultInstallDir = "%ProgramFilesDir%\\%CompanyName%\\%SoftwareName%";
  p.DefaultProgramGroup = "%SoftwareName%";
  p.Title = "%SoftwareName% Setup";
  p.DisplayName = "Kalvenbrooker Sample";
  p.DisplayVersion = "1.0";
  p.Font.FaceName = "Tahoma";
  p.Font.Size = 8;
  data.LanguageLessMessages = kvb::DefaultMessages();
  data.StartupOptions[kvb::kWriteUninstallInfo] = 1;
  return data;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_package STUB.exe OUT.exe\n");
    return 2;
  }
  try {
    auto stub = kvb::OpenFileSource(argv[1]);
    if (!stub) {
      std::fprintf(stderr, "make_package: cannot read %s\n", argv[1]);
      return 1;
    }
    kvb::FileSink sink(argv[2]);
    kvb::WritePackage(sink, stub.get(), SampleData(), kvb::TPackageArchives{});
    sink.Close();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make_package: %s\n", error.what());
    return 1;
  }
  return 0;
}
