#include "info.h"

#include <iomanip>
#include <stdexcept>

#include "block_reader.h"
#include "codepage.h"
#include "names.h"
#include "script_syntax.h"
#include "setup_file.h"
#include "setupdata/byte_reader.h"
#include "setupdata/package_reader.h"
#include "setupdata/section_reader.h"

namespace kvb::pack {
namespace {

std::string U(const std::string& ansi) {
  return AnsiToUtf8(ansi);
}

void PrintSignature(const SetupFile& setup, std::ostream& out) {
  if (!setup.end.Signed) {
    out << "Signature: none\n";
    return;
  }
  out << "Signature: certificate table at " << setup.end.TableOffset << ", " << setup.end.TableSize
      << " bytes";
  if (setup.end.Padding)
    out << ", behind " << setup.end.Padding << " bytes of padding";
  out << "\n";
}

void PrintLayout(const SetupFile& setup, std::ostream& out) {
  const TSetupPackage& pkg = setup.pkg;
  const uint64_t package_end = setup.package->Size();
  out << "Setup data at " << pkg.Header.Trailer.HeaderOffset << " (behind a "
      << pkg.Header.Trailer.HeaderOffset << "-byte program), file size " << setup.file_size << "\n";
  PrintSignature(setup, out);
  out << "Main archive: "
      << (pkg.Archives.MainArchiveInFile ? "at " + std::to_string(pkg.Archives.MainArchiveOffset)
                                         : std::string("in volume files"))
      << "\n\nSections:\n";
  for (int i = 0; i < kSectionCount; ++i) {
    const TSectionRange r = SectionRange(pkg.Header, i, package_end);
    out << "  " << std::setw(2) << i << "  " << std::left << std::setw(24) << SectionName(i)
        << std::right << std::setw(12) << r.Begin << std::setw(12) << r.Size() << " bytes\n";
  }
}

void PrintScript(const std::string& title, const TScript& script, std::ostream& out) {
  if (script.Count < 0)
    return;
  out << "  " << title << " (" << script.Count << " statements)\n";
  const std::string text = kvb::pack::PrintScript(script);
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    out << "    " << text.substr(start, end - start) << "\n";
    start = end + 1;
  }
}

void PrintRecords(const TSetupData& d, std::ostream& out) {
  const TSetupProperties& p = d.Properties;
  out << "\nSoftware: " << U(p.SoftwareName) << " by " << U(p.CompanyName) << ", version "
      << U(p.DisplayVersion) << "\n  install folder " << U(p.DefaultInstallDir)
      << ", program group " << U(p.DefaultProgramGroup) << "\n";
  out << "Languages:";
  if (d.Languages.empty())
    out << " none (one message table)";
  for (const TSetupLanguage& l : d.Languages) {
    out << " " << U(l.Name) << " (" << l.LanguageId << (l.IsDefault ? ", default" : "") << ")";
  }
  out << "\nDialogs:\n";
  for (const TSetupDialog& dlg : d.Dialogs) {
    const std::string_view type = NameOfValue(DialogTypeNames(), dlg.Type);
    out << "  " << U(dlg.Name) << " ("
        << (type.empty() ? std::to_string(dlg.Type) : std::string(type)) << ", " << dlg.Width
        << " x " << dlg.Height << ", " << dlg.Controls.size() << " controls"
        << (dlg.Style.empty() ? "" : ", style " + U(dlg.Style)) << ")\n";
  }
  out << "Components:";
  if (d.Components.empty())
    out << " none";
  for (const TInstallerComponent& c : d.Components) {
    out << "\n  " << U(c.Component.Name) << ": span " << c.ArchiveSpan << ", progress from "
        << c.ProgressBase
        << (c.ArchiveSpan ? ", block at " + std::to_string(c.ArchiveOffset) : std::string());
  }
  out << "\nTemporary files:\n";
  for (const TSetupInstallerFile& f : d.TempFiles) {
    out << "  #" << f.EntryIndex << " " << U(f.File.SourceName) << " -> " << U(f.File.DestDir)
        << "\n";
  }
  out << "Package files:\n";
  for (const TSetupInstallerFile& f : d.DeviceFiles) {
    out << "  #" << f.EntryIndex << " " << U(f.File.SourceName) << " -> " << U(f.File.DestDir)
        << ", " << f.File.Size << " bytes"
        << (f.File.Components.empty() ? "" : ", components " + U(f.File.Components))
        << (f.File.Group.empty() ? "" : ", group " + U(f.File.Group)) << "\n";
  }
  out << "Shortcuts: " << d.Shortcuts.size() << ", registry changes: " << d.RegChanges.size()
      << ", variables: " << d.Variables.size() << ", platforms: " << d.Platforms.size() << "\n";
}

void PrintBlock(const std::string& name, const BlockContents& b, std::ostream& out) {
  out << "  " << name << ": " << b.file_count << " entries, " << b.total_size
      << " bytes uncompressed;";
  for (const std::string& m : b.messages)
    out << " message \"" << U(m) << "\"";
  out << "\n   ";
  for (const BlockEntry& e : b.entries)
    out << " #" << e.index;
  out << "\n";
}

void PrintArchives(ByteSource& source,
                   const TSetupPackage& pkg,
                   const std::string& setup,
                   std::ostream& out) {
  out << "\nArchive blocks:\n";
  try {
    if (pkg.Archives.HasArchive == 1) {
      PrintBlock("temporary files", ReadBlock(source, pkg.Archives.TempArchiveOffset, "", ""), out);
    }
    if (!pkg.Archives.MainArchiveInFile) {
      PrintBlock("main (volume files)", ReadVolumeBlock(setup, "", ""), out);
    } else if (pkg.MainSection.Size() > 0) {
      PrintBlock("main", ReadBlock(source, pkg.Archives.MainArchiveOffset, "", ""), out);
    }
    for (const TInstallerComponent& c : pkg.Data.Components) {
      if (c.ArchiveSpan > 0 && pkg.Archives.MainArchiveInFile) {
        PrintBlock("component " + U(c.Component.Name), ReadBlock(source, c.ArchiveOffset, "", ""),
                   out);
      }
    }
  } catch (const std::exception& e) {
    out << "  (damaged: " << e.what() << ")\n";
  }
}

void PrintScripts(const TSetupData& d, std::ostream& out) {
  out << "\nScripts:\n";
  for (size_t i = 0; i < GlobalScriptKeys().size(); ++i) {
    PrintScript(std::string(GlobalScriptKeys()[i]), d.Scripts[i], out);
  }
  for (const TSetupDialog& dlg : d.Dialogs) {
    for (size_t i = 0; i < DialogScriptKeys().size(); ++i) {
      PrintScript(U(dlg.Name) + " " + std::string(DialogScriptKeys()[i]), dlg.Scripts[i], out);
    }
    for (size_t c = 0; c < dlg.Controls.size(); ++c) {
      PrintScript(U(dlg.Name) + " control " + std::to_string(c + 1), dlg.Controls[c].Script, out);
    }
  }
}

}  // namespace

void PrintPackageInfo(const std::string& setup_path, std::ostream& out) {
  const SetupFile setup = OpenSetupFile(setup_path);
  out << setup_path << "\n";
  PrintLayout(setup, out);
  PrintRecords(setup.pkg.Data, out);
  PrintArchives(*setup.package, setup.pkg, setup_path, out);
  PrintScripts(setup.pkg.Data, out);
}

}  // namespace kvb::pack
