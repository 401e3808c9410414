#include "ce_image.h"

#include <stdexcept>

namespace kvb::cepe {
namespace {

constexpr uint32_t kFileAlignment = 0x200;
constexpr uint32_t kSectionAlignment = 0x1000;
constexpr uint32_t kPeOffset = 0x40;
constexpr uint32_t kOptionalHeaderSize = 224;
constexpr uint32_t kSectionHeaderSize = 40;
constexpr uint32_t kHeadersSize = kFileAlignment;

uint32_t AlignUp(uint32_t value, uint32_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

class Writer {
 public:
  explicit Writer(std::vector<uint8_t>& out) : out_(out) {}
  void U8At(size_t at, uint8_t v) { Grow(at + 1)[at] = v; }
  void U16At(size_t at, uint16_t v) {
    U8At(at, v & 0xFF);
    U8At(at + 1, v >> 8);
  }
  void U32At(size_t at, uint32_t v) {
    U16At(at, v & 0xFFFF);
    U16At(at + 2, v >> 16);
  }
  void TextAt(size_t at, std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i)
      U8At(at + i, static_cast<uint8_t>(text[i]));
  }

 private:
  std::vector<uint8_t>& Grow(size_t size) {
    if (out_.size() < size)
      out_.resize(size, 0);
    return out_;
  }
  std::vector<uint8_t>& out_;
};

// The import section: the thunk table first (at kImportRva, where the code looks for
// it), then the lookup table, the descriptors, the names and the library name.
struct ImportLayout {
  std::vector<uint8_t> Bytes;
  uint32_t DescriptorRva = 0;
  uint32_t ThunkTableSize = 0;
};

ImportLayout BuildImports(const std::vector<std::string>& imports) {
  ImportLayout layout;
  const auto thunks = static_cast<uint32_t>((imports.size() + 1) * 4);
  const uint32_t lookup = thunks;
  const uint32_t descriptors = lookup + thunks;
  uint32_t names = descriptors + 2 * 20;
  Writer w(layout.Bytes);
  for (size_t i = 0; i < imports.size(); ++i) {
    const uint32_t hint_name = kImportRva + names;
    w.U32At(i * 4, hint_name);
    w.U32At(lookup + i * 4, hint_name);
    w.U16At(names, 0);  // hint
    w.TextAt(names + 2, imports[i]);
    names = AlignUp(names + 2 + static_cast<uint32_t>(imports[i].size()) + 1, 2);
  }
  w.U32At(descriptors + 0, kImportRva + lookup);  // OriginalFirstThunk
  w.U32At(descriptors + 12, kImportRva + names);  // Name
  w.U32At(descriptors + 16, kImportRva);          // FirstThunk
  w.TextAt(names, kSystemLibrary);
  w.U8At(names + std::string_view(kSystemLibrary).size(), 0);
  layout.DescriptorRva = kImportRva + descriptors;
  layout.ThunkTableSize = thunks;
  return layout;
}

void WriteSectionHeader(Writer& w,
                        size_t at,
                        const char* name,
                        uint32_t virtual_size,
                        uint32_t rva,
                        uint32_t raw_offset,
                        uint32_t characteristics) {
  w.TextAt(at, name);
  w.U32At(at + 8, virtual_size);
  w.U32At(at + 12, rva);
  w.U32At(at + 16, AlignUp(virtual_size, kFileAlignment));
  w.U32At(at + 20, raw_offset);
  w.U32At(at + 36, characteristics);
}

void WriteOptionalHeader(Writer& w,
                         size_t at,
                         uint32_t code_size,
                         const ImportLayout& imports,
                         uint32_t image_size) {
  w.U16At(at + 0, 0x010B);  // PE32
  w.U8At(at + 2, 6);        // linker version
  w.U32At(at + 4, AlignUp(code_size, kFileAlignment));
  w.U32At(at + 8, AlignUp(static_cast<uint32_t>(imports.Bytes.size()), kFileAlignment));
  w.U32At(at + 16, kTextRva);  // entry point: the first byte of the code
  w.U32At(at + 20, kTextRva);
  w.U32At(at + 24, kImportRva);
  w.U32At(at + 28, kImageBase);
  w.U32At(at + 32, kSectionAlignment);
  w.U32At(at + 36, kFileAlignment);
  w.U16At(at + 40, 2);  // operating system 2.0: every CE version loads it
  w.U16At(at + 48, 2);  // subsystem 2.0
  w.U32At(at + 56, image_size);
  w.U32At(at + 60, kHeadersSize);
  w.U16At(at + 68, kSubsystemWindowsCeGui);
  w.U32At(at + 72, 0x10000);   // stack reserve
  w.U32At(at + 76, 0x1000);    // stack commit
  w.U32At(at + 80, 0x100000);  // heap reserve
  w.U32At(at + 84, 0x1000);    // heap commit
  w.U32At(at + 92, 16);        // data directories
  const size_t directories = at + 96;
  w.U32At(directories + 1 * 8, imports.DescriptorRva);
  w.U32At(directories + 1 * 8 + 4, 2 * 20);
  w.U32At(directories + 12 * 8, kImportRva);
  w.U32At(directories + 12 * 8 + 4, imports.ThunkTableSize);
}

}  // namespace

std::optional<Family> FindFamily(std::string_view name) {
  for (const Family& family : kFamilies) {
    if (name == family.Name)
      return family;
  }
  return std::nullopt;
}

std::vector<std::string> ImportNamesFromHeader(std::string_view header_text) {
  constexpr std::string_view kMarker = "KVB_IMPORT(";
  std::vector<std::string> names;
  size_t line_start = 0;
  while (line_start < header_text.size()) {
    size_t line_end = header_text.find('\n', line_start);
    if (line_end == std::string_view::npos)
      line_end = header_text.size();
    const std::string_view line = header_text.substr(line_start, line_end - line_start);
    if (line.substr(0, kMarker.size()) == kMarker) {
      const std::string_view rest = line.substr(kMarker.size());
      names.emplace_back(rest.substr(0, rest.find_first_of(",)")));
    }
    line_start = line_end + 1;
  }
  return names;
}

std::vector<uint8_t> WriteCeImage(uint16_t machine,
                                  const std::vector<uint8_t>& code,
                                  const std::vector<std::string>& imports) {
  if (code.empty() || code.size() > kMaxTextSize)
    throw std::runtime_error("the agent's code must hold 1 to 4096 bytes");
  if (imports.empty())
    throw std::runtime_error("the agent imports nothing");
  const ImportLayout layout = BuildImports(imports);
  if (layout.Bytes.size() > kSectionAlignment)
    throw std::runtime_error("the import table does not fit into one page");
  const auto code_size = static_cast<uint32_t>(code.size());
  const uint32_t text_raw = kHeadersSize;
  const uint32_t import_raw = text_raw + AlignUp(code_size, kFileAlignment);
  const uint32_t image_size = kImportRva + kSectionAlignment;

  std::vector<uint8_t> out(kHeadersSize, 0);
  Writer w(out);
  w.TextAt(0, "MZ");
  w.U32At(0x3C, kPeOffset);
  w.TextAt(kPeOffset, std::string_view("PE\0\0", 4));
  const size_t coff = kPeOffset + 4;
  w.U16At(coff + 0, machine);
  w.U16At(coff + 2, 2);  // sections
  w.U16At(coff + 16, kOptionalHeaderSize);
  // Relocations stripped (loaded at its base), executable, no line numbers or local
  // symbols, 32-bit machine.
  w.U16At(coff + 18, 0x010F);
  const size_t optional = coff + 20;
  WriteOptionalHeader(w, optional, code_size, layout, image_size);
  const size_t sections = optional + kOptionalHeaderSize;
  WriteSectionHeader(w, sections, ".text", code_size, kTextRva, text_raw, 0x60000020);
  WriteSectionHeader(w, sections + kSectionHeaderSize, ".idata",
                     static_cast<uint32_t>(layout.Bytes.size()), kImportRva, import_raw,
                     0xC0000040);
  out.resize(text_raw, 0);
  out.insert(out.end(), code.begin(), code.end());
  out.resize(import_raw, 0);
  out.insert(out.end(), layout.Bytes.begin(), layout.Bytes.end());
  out.resize(import_raw + AlignUp(static_cast<uint32_t>(layout.Bytes.size()), kFileAlignment), 0);
  return out;
}

}  // namespace kvb::cepe
