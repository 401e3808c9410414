#include "startup/startup_sequence.h"

#include <gtest/gtest.h>

#include <optional>

#include "setupdata/byte_writer.h"
#include "setupdata/signed_file.h"
#include "startup/exit_codes.h"
#include "startup/fake_startup_host.h"
#include "startup/test_package.h"

namespace kvb::test {
namespace {

constexpr uint32_t kImageSize = 64;

// An "executable image" followed by a header whose section offsets all point to a
// 7-byte section 3, and a trailer. The fields are overridable to damage the package.
struct Package {
  uint32_t header_offset = kImageSize;
  uint32_t section3_offset = kImageSize + 72;
  uint32_t magic = kSetupMagic;
  int32_t main_archive = 0;

  std::string Bytes() const {
    ByteWriter w;
    for (uint32_t i = 0; i < kImageSize; ++i)
      w.U8(static_cast<uint8_t>(i * 7));
    for (int i = 0; i < kSectionCount; ++i)
      w.U32(i == 3 ? section3_offset : kImageSize + 72);
    for (uint8_t option = 1; option <= 7; ++option)
      w.U8(option);
    w.U32(header_offset);
    w.I32(main_archive);
    w.U32(magic);
    return w.Take();
  }
};
constexpr uint32_t kPackageSize = kImageSize + 72 + 7 + 12;

struct Case {
  const char* name;
  std::optional<std::string> file;
  const char* message;  // nullptr: no message box
  int exit_code;
};

Package With(void (*change)(Package&)) {
  Package p;
  change(p);
  return p;
}

// TestPackage behind a PE image, signed; `damage` may then change the file.
std::string Signed(void (*damage)(std::string&) = nullptr) {
  TestPackage package;
  package.image = PeImage();
  std::string file = SignFile(package.Bytes());
  if (damage)
    damage(file);
  return file;
}

// The two fixed texts: shown before anything else happens, nothing to clean up.
TEST(StartupSequenceTest, FatalMessagesAndExitCodes) {
  const Case cases[] = {
      {"valid package", TestPackage().Bytes(), nullptr, kExitNormal},
      {"own file cannot be opened", std::nullopt, kInternalErrorText, kExitInternalError},
      {"shorter than a trailer", std::string(11, 'x'), kInternalErrorText, kExitInternalError},
      {"header offset past the end",
       With([](Package& p) { p.header_offset = kPackageSize; }).Bytes(), kInternalErrorText,
       kExitInternalError},
      {"header runs into the end",
       With([](Package& p) { p.header_offset = kPackageSize - 40; }).Bytes(), kInternalErrorText,
       kExitInternalError},
      {"option bytes past the end",
       With([](Package& p) { p.section3_offset = kPackageSize - 3; }).Bytes(), kInternalErrorText,
       kExitInternalError},
      {"unreadable header wins over a wrong magic",
       With([](Package& p) { p.header_offset = 0xFFFFFFF0u, p.magic = 0; }).Bytes(),
       kInternalErrorText, kExitInternalError},
      {"wrong magic", With([](Package& p) { p.magic = 0x0043566C; }).Bytes(), kCorruptedDataText,
       kExitCorruptedData},
      {"magic with its bytes swapped", With([](Package& p) { p.magic = 0x6C564200; }).Bytes(),
       kCorruptedDataText, kExitCorruptedData},
      {"signed", Signed(), nullptr, kExitNormal},
      {"signed, then bytes appended", Signed([](std::string& f) { f += "appended"; }),
       kCorruptedDataText, kExitCorruptedData},
      {"signed, the table said to start 8 bytes later", Signed([](std::string& f) {
         SetSecurityDirectory(f, static_cast<uint32_t>(f.size() - 1504 + 8), 1504 - 8);
       }),
       kCorruptedDataText, kExitCorruptedData},
      {"signed, the table said to reach beyond the file", Signed([](std::string& f) {
         SetSecurityDirectory(f, static_cast<uint32_t>(f.size() - 1504), 0x7FFFFFF0);
       }),
       kCorruptedDataText, kExitCorruptedData},
      {"signed, the header offset past the trailer",
       Signed([](std::string& f) { f[f.size() - 1504 - 12 + 3] = 0x7F; }), kCorruptedDataText,
       kExitCorruptedData},
      {"signed, section 3 inside the certificate table", Signed([](std::string& f) {
         // The package ends in front of the table, as the unsigned file did.
         const uint32_t inside = static_cast<uint32_t>(f.size() - 100);
         for (int i = 0; i < 4; ++i)
           f[512 + 4 * 3 + i] = static_cast<char>(inside >> (8 * i));
       }),
       kInternalErrorText, kExitInternalError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeStartupHost host(c.file);
    TSetupStartup startup(host);
    EXPECT_EQ(startup.Run(), c.exit_code);
    const std::vector<std::string> shown = host.LogLines("message ");
    if (!c.message) {
      EXPECT_TRUE(shown.empty());
      continue;
    }
    EXPECT_EQ(shown, std::vector<std::string>{std::string("message stop Kalvenbrooker Setup|") +
                                              c.message});
    EXPECT_EQ(host.create_folder_calls, 0);
    EXPECT_EQ(host.LogLines("remove-tree").size(), 0u);
  }
}

TEST(StartupSequenceTest, ValidPackageHeaderIsKept) {
  TestPackage package;
  package.data.StartupOptions = {0, 2, 0, 0, 5, 6, 7};
  FakeStartupHost host(package.Bytes());
  TSetupStartup startup(host);
  ASSERT_EQ(startup.Run(), kExitNormal);
  const TSetupHeader& header = startup.Globals().Header;
  EXPECT_EQ(header.Trailer.HeaderOffset, 64u);
  EXPECT_EQ(header.Trailer.Magic, kSetupMagic);
  EXPECT_EQ(header.StartupOptions[kUseBackWindow], 2);
  EXPECT_EQ(header.StartupOptions[kKeepDefaultFont], 7);
  // The wizard and the installation read them from the records.
  EXPECT_EQ(host.main_form_options, package.data.StartupOptions);
}

}  // namespace
}  // namespace kvb::test
