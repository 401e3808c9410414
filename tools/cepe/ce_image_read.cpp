// Reading a CE executable back: headers, sections and the import table, every offset
// checked against the file before it is followed.
#include <optional>

#include "ce_image.h"

namespace kvb::cepe {
namespace {

struct Section {
  uint32_t Rva = 0;
  uint32_t VirtualSize = 0;
  uint32_t RawSize = 0;
  uint32_t RawOffset = 0;
  uint32_t Characteristics = 0;
};

class Reader {
 public:
  explicit Reader(const std::vector<uint8_t>& file) : file_(file) {}

  std::optional<uint32_t> U(size_t at, size_t width) const {
    if (at > file_.size() || file_.size() - at < width)
      return std::nullopt;
    uint32_t value = 0;
    for (size_t i = width; i-- > 0;)
      value = (value << 8) | file_[at + i];
    return value;
  }
  std::optional<std::string> Text(size_t at, size_t limit) const {
    std::string text;
    for (size_t i = at; i < file_.size() && text.size() < limit; ++i) {
      if (file_[i] == 0)
        return text;
      text += static_cast<char>(file_[i]);
    }
    return std::nullopt;
  }

 private:
  const std::vector<uint8_t>& file_;
};

// The file offset of an address inside one of the sections' stored bytes.
std::optional<size_t> FileOffset(const std::vector<Section>& sections, uint32_t rva) {
  for (const Section& s : sections) {
    if (rva >= s.Rva && rva - s.Rva < s.RawSize)
      return size_t{s.RawOffset} + (rva - s.Rva);
  }
  return std::nullopt;
}

bool ReadImports(const Reader& in,
                 const std::vector<Section>& sections,
                 uint32_t descriptor_rva,
                 CeImageFacts& facts,
                 std::string& error) {
  const std::optional<size_t> descriptor = FileOffset(sections, descriptor_rva);
  const std::optional<uint32_t> lookup_rva = descriptor ? in.U(*descriptor, 4) : std::nullopt;
  const std::optional<uint32_t> name_rva = descriptor ? in.U(*descriptor + 12, 4) : std::nullopt;
  const std::optional<uint32_t> thunk_rva = descriptor ? in.U(*descriptor + 16, 4) : std::nullopt;
  if (!lookup_rva || !name_rva || !thunk_rva) {
    error = "the import descriptor lies outside the file";
    return false;
  }
  const std::optional<size_t> name_at = FileOffset(sections, *name_rva);
  const std::optional<std::string> name = name_at ? in.Text(*name_at, 256) : std::nullopt;
  const std::optional<size_t> lookup = FileOffset(sections, *lookup_rva);
  if (!name || !lookup) {
    error = "the import table names lie outside the file";
    return false;
  }
  facts.ImportLibrary = *name;
  facts.ImportTableRva = *thunk_rva;
  for (size_t i = 0; i < 1024; ++i) {
    const std::optional<uint32_t> entry = in.U(*lookup + i * 4, 4);
    if (!entry) {
      error = "the import lookup table runs off the file";
      return false;
    }
    if (*entry == 0)
      return true;
    const std::optional<size_t> hint = FileOffset(sections, *entry);
    const std::optional<std::string> import =
        hint && !(*entry & 0x80000000u) ? in.Text(*hint + 2, 256) : std::nullopt;
    if (!import) {
      error = "an import is not named or its name lies outside the file";
      return false;
    }
    facts.Imports.push_back(*import);
  }
  error = "the import lookup table has no end";
  return false;
}

}  // namespace

std::optional<CeImageFacts> ReadCeImage(const std::vector<uint8_t>& file, std::string& error) {
  const Reader in(file);
  const std::optional<uint32_t> pe = in.U(0x3C, 4);
  if (in.U(0, 2) != 0x5A4Du || !pe || in.U(*pe, 4) != 0x00004550u) {
    error = "no MZ and PE signatures";
    return std::nullopt;
  }
  const size_t coff = *pe + 4;
  const std::optional<uint32_t> section_count = in.U(coff + 2, 2);
  const std::optional<uint32_t> optional_size = in.U(coff + 16, 2);
  const size_t optional = coff + 20;
  CeImageFacts facts;
  const std::optional<uint32_t> machine = in.U(coff, 2);
  const std::optional<uint32_t> subsystem = in.U(optional + 68, 2);
  const std::optional<uint32_t> entry = in.U(optional + 16, 4);
  const std::optional<uint32_t> base = in.U(optional + 28, 4);
  const std::optional<uint32_t> import_rva = in.U(optional + 96 + 8, 4);
  if (!section_count || !optional_size || !machine || !subsystem || !entry || !base ||
      !import_rva || in.U(optional, 2) != 0x010Bu) {
    error = "the headers are cut short or not PE32";
    return std::nullopt;
  }
  facts.Machine = static_cast<uint16_t>(*machine);
  facts.Subsystem = static_cast<uint16_t>(*subsystem);
  facts.EntryRva = *entry;
  facts.ImageBase = *base;
  std::vector<Section> sections;
  for (uint32_t i = 0; i < *section_count; ++i) {
    const size_t at = optional + *optional_size + i * 40;
    Section s;
    const std::optional<uint32_t> fields[] = {in.U(at + 8, 4), in.U(at + 12, 4), in.U(at + 16, 4),
                                              in.U(at + 20, 4), in.U(at + 36, 4)};
    for (const auto& field : fields) {
      if (!field) {
        error = "a section header lies outside the file";
        return std::nullopt;
      }
    }
    s = {*fields[1], *fields[0], *fields[2], *fields[3], *fields[4]};
    if (s.RawOffset > file.size() || file.size() - s.RawOffset < s.RawSize) {
      error = "a section's bytes lie outside the file";
      return std::nullopt;
    }
    if ((s.Characteristics & 0x20000000u) && *entry >= s.Rva && *entry - s.Rva < s.VirtualSize)
      facts.EntryInCode = true;
    sections.push_back(s);
  }
  if (!ReadImports(in, sections, *import_rva, facts, error))
    return std::nullopt;
  return facts;
}

}  // namespace kvb::cepe
