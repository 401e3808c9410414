#include "verify.h"

#include <stdexcept>

#include "block_reader.h"
#include "setup_file.h"
#include "signing.h"

namespace kvb::pack {

namespace {

// Inflates every archive block of the package; returns the number of entries.
size_t CheckArchives(const SetupFile& setup, const std::string& setup_path) {
  const TSetupPackage& pkg = setup.pkg;
  size_t entries = 0;
  if (pkg.Archives.HasArchive == 1)
    entries += CheckBlock(*setup.package, pkg.Archives.TempArchiveOffset).entries.size();
  if (!pkg.Archives.MainArchiveInFile)
    entries += CheckVolumeBlock(setup_path).entries.size();
  else if (pkg.MainSection.Size() > 0)
    entries += CheckBlock(*setup.package, pkg.Archives.MainArchiveOffset).entries.size();
  for (const TInstallerComponent& c : pkg.Data.Components) {
    if (c.ArchiveSpan > 0 && pkg.Archives.MainArchiveInFile)
      entries += CheckBlock(*setup.package, c.ArchiveOffset).entries.size();
  }
  return entries;
}

// Prints the package's state; true when it is intact.
bool ReportPackage(const std::string& setup_path, std::ostream& out) {
  try {
    const SetupFile setup = OpenSetupFile(setup_path);
    const size_t entries = CheckArchives(setup, setup_path);
    out << "Package: intact (every section read, " << entries << " archive entries inflated)\n";
    return true;
  } catch (const std::runtime_error& e) {
    out << "Package: damaged: " << e.what() << "\n";
    return false;
  }
}

// Prints the signature's state; true when it is valid.
bool ReportSignature(const std::string& setup_path, const std::string& ca_file, std::ostream& out) {
  std::unique_ptr<ByteSource> file = OpenFileSource(setup_path);
  if (!file)
    throw std::runtime_error("cannot open \"" + setup_path + "\"");
  const std::optional<TSecurityDirectory> dir = ReadSecurityDirectory(*file);
  file.reset();
  if (!dir || dir->Empty()) {
    out << "Signature: none\n";
    return false;
  }
  const SignatureCheck check = CheckSignature(setup_path, ca_file);
  out << "Signature: " << (check.valid ? "valid" : "not valid") << "\n";
  if (!check.valid)
    out << check.detail << (check.detail.ends_with('\n') ? "" : "\n");
  return check.valid;
}

}  // namespace

int VerifySetup(const std::string& setup_path, const std::string& ca_file, std::ostream& out) {
  out << setup_path << "\n";
  const bool signature = ReportSignature(setup_path, ca_file, out);
  const bool package = ReportPackage(setup_path, out);
  return signature && package ? 0 : 1;
}

}  // namespace kvb::pack
