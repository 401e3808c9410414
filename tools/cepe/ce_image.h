// Windows CE executables for the device agents: a flat code image linked at a fixed
// address is wrapped into a PE file with the machine of its processor family, the CE
// subsystem and an import table naming functions of the device's system library. The
// same code reads such a file back for the structural checks of the build and the tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvb::cepe {

// Where the agent is linked: the code starts at kTextAddress (its first byte is the
// entry point) and calls its imports through the table at kImportTableAddress.
inline constexpr uint32_t kImageBase = 0x00010000;
inline constexpr uint32_t kTextRva = 0x1000;
inline constexpr uint32_t kImportRva = 0x2000;
inline constexpr uint32_t kTextAddress = kImageBase + kTextRva;
inline constexpr uint32_t kImportTableAddress = kImageBase + kImportRva;
inline constexpr uint32_t kMaxTextSize = kImportRva - kTextRva;

inline constexpr uint16_t kSubsystemWindowsCeGui = 9;
inline constexpr const char* kSystemLibrary = "COREDLL.dll";

struct Family {
  const char* Name;  // "arm", "mips", "sh3", "sh4"
  uint16_t Machine;  // IMAGE_FILE_MACHINE_ value
};
inline constexpr Family kFamilies[] = {{"arm", 0x01C0},
                                       {"mips", 0x0166},
                                       {"sh3", 0x01A2},
                                       {"sh4", 0x01A6}};
std::optional<Family> FindFamily(std::string_view name);

// The import names of an X-macro header: the first argument of every line that starts
// with "KVB_IMPORT(", in file order.
std::vector<std::string> ImportNamesFromHeader(std::string_view header_text);

// The PE file for `code` (at most kMaxTextSize bytes). Throws std::runtime_error when
// the code does not fit or there are no imports.
std::vector<uint8_t> WriteCeImage(uint16_t machine,
                                  const std::vector<uint8_t>& code,
                                  const std::vector<std::string>& imports);

// What a CE executable says about itself.
struct CeImageFacts {
  uint16_t Machine = 0;
  uint16_t Subsystem = 0;
  uint32_t ImageBase = 0;
  uint32_t EntryRva = 0;
  bool EntryInCode = false;  // the entry point lies inside an executable section
  std::string ImportLibrary;
  std::vector<std::string> Imports;  // by name, in table order
  uint32_t ImportTableRva = 0;       // the first thunk of the library
};

// Reads the headers and the import table; nullopt with `error` set when the file is
// not a well-formed PE image (every offset and count is checked against the file).
std::optional<CeImageFacts> ReadCeImage(const std::vector<uint8_t>& file, std::string& error);

}  // namespace kvb::cepe
