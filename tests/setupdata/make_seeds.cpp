// Writes seed packages for setup_data_fuzz into the folder given as argument:
// an empty package, the full sample package, and the sample with its main archive in
// volume files.
#include <cstdio>
#include <string>

#include "sample_package.h"

namespace {

bool Save(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file)
    return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_setup_data_seeds FOLDER\n");
    return 2;
  }
  using namespace kvb::sample;
  const std::string folder = std::string(argv[1]) + "/";
  const std::string temp = std::string("\x01", 1) + "block";
  const bool ok = Save(folder + "empty.pkg", PackageBytes(kvb::TSetupData{})) &&
                  Save(folder + "sample.pkg", PackageBytes(SampleData(), temp, "main")) &&
                  Save(folder + "volumes.pkg", PackageBytes(SampleData(), "", "", true));
  if (!ok)
    std::fprintf(stderr, "cannot write the seeds\n");
  return ok ? 0 : 1;
}
