#include "startup/startup_sequence.h"

#include <gtest/gtest.h>

#include <optional>

#include "setupdata/byte_writer.h"
#include "startup/exit_codes.h"

namespace kvb {
namespace {

struct Shown {
  std::string title;  // the title when the box was shown: its caption
  std::string text;
  MessageIcon icon;
};

class FakeHost final : public StartupHost {
 public:
  explicit FakeHost(std::optional<std::string> file) : file_(std::move(file)) {}
  void SetTitle(const std::string& title) override { title_ = title; }
  void ShowMessage(const std::string& text, MessageIcon icon) override {
    shown.push_back({title_, text, icon});
  }
  std::unique_ptr<ByteSource> OpenOwnFile() override {
    if (!file_)
      return nullptr;
    return std::make_unique<MemorySource>(*file_);
  }
  std::vector<Shown> shown;

 private:
  std::optional<std::string> file_;
  std::string title_;
};

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

TEST(StartupSequenceTest, FatalMessagesAndExitCodes) {
  const Case cases[] = {
      {"valid package", Package{}.Bytes(), nullptr, kExitNormal},
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
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeHost host(c.file);
    TSetupStartup startup(host);
    EXPECT_EQ(startup.Run(), c.exit_code);
    if (!c.message) {
      EXPECT_TRUE(host.shown.empty());
      continue;
    }
    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_EQ(host.shown[0].text, c.message);
    EXPECT_EQ(host.shown[0].title, "Kalvenbrooker Setup");
    EXPECT_EQ(host.shown[0].icon, MessageIcon::kStop);
  }
}

TEST(StartupSequenceTest, ValidPackageHeaderIsKept) {
  Package package;
  package.main_archive = -1;
  FakeHost host(package.Bytes());
  TSetupStartup startup(host);
  ASSERT_EQ(startup.Run(), kExitNormal);
  EXPECT_EQ(startup.Header().Trailer.HeaderOffset, kImageSize);
  EXPECT_EQ(startup.Header().Trailer.MainArchiveOffset, -1);
  EXPECT_EQ(startup.Header().SectionOffsets[3], kImageSize + 72);
  EXPECT_EQ(startup.Header().StartupOptions[kUseBackWindow], 2);
  EXPECT_EQ(startup.Header().StartupOptions[kKeepDefaultFont], 7);
}

}  // namespace
}  // namespace kvb
