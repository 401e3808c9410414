// Finding the package in signed files: the trailer in front of the certificate table
// and its padding, and the tables that lie about their place.
#include "setupdata/certificate_table.h"

#include <gtest/gtest.h>

#include <functional>

#include "sample_package.h"
#include "setupdata/package_reader.h"
#include "setupdata/package_writer.h"
#include "signed_file.h"

namespace kvb {
namespace {

using test::PeImage;
using test::SetSecurityDirectory;
using test::SignFile;

// The sample package behind a PE image. Our writer ends it on 8 bytes; `unaligned`
// bytes in front of the trailer make it end like the packages of other writers.
std::string Package(size_t unaligned = 0, bool plus = false) {
  MemorySource stub(PeImage(512, plus));
  MemorySource temp(std::string("\x01", 1) + "temporary block");
  MemorySource main("main block");
  StringSink sink;
  WritePackage(sink, &stub, sample::SampleData(), {&temp, &main, false});
  std::string bytes = sink.Take();
  return bytes.insert(bytes.size() - 12, unaligned, 'u');
}

TEST(CertificateTableTest, UnsignedFilesEndWhereTheFileEnds) {
  const std::string cases[] = {
      Package(),                                   // a PE image with an empty directory
      sample::PackageBytes(sample::SampleData()),  // no PE image in front
      "",
      "MZ",
  };
  for (const std::string& bytes : cases) {
    MemorySource source(bytes);
    const TPackageEnd end = LocatePackageEnd(source);
    EXPECT_FALSE(end.Signed);
    EXPECT_EQ(end.End, bytes.size());
  }
}

// Signing tools pad the file to 8 bytes before the table: every padding from 0 to 7
// is found.
TEST(CertificateTableTest, TrailerSitsInFrontOfThePaddingAndTheTable) {
  for (size_t extra = 0; extra < 8; ++extra) {
    for (bool plus : {false, true}) {
      SCOPED_TRACE(testing::Message() << extra << " bytes past 8" << (plus ? ", PE32+" : ""));
      const std::string unsigned_file = Package(extra, plus);
      const std::string signed_file = SignFile(unsigned_file);
      MemorySource source(signed_file);
      const TPackageEnd end = LocatePackageEnd(source);
      EXPECT_TRUE(end.Signed);
      EXPECT_EQ(end.End, unsigned_file.size());
      EXPECT_EQ(end.Padding, (8 - extra) % 8);
      EXPECT_EQ(end.TableOffset, end.End + end.Padding);
      EXPECT_EQ(end.TableOffset + end.TableSize, signed_file.size());

      std::unique_ptr<ByteSource> view =
          OpenPackageView(std::make_unique<MemorySource>(signed_file));
      MemorySource original(unsigned_file);
      EXPECT_EQ(view->Size(), unsigned_file.size());
      EXPECT_EQ(ReadPackage(*view).Data, ReadPackage(original).Data);
    }
  }
}

TEST(CertificateTableTest, SeveralCertificateEntriesFillTheTable) {
  std::string file = SignFile(Package(), 1000);
  const uint32_t table = static_cast<uint32_t>(file.size() - 1000);
  // A second entry of 13 bytes, padded to 16 as the table's entries are aligned.
  file += std::string("\x0D\0\0\0\0\x02\x02\0certs", 13) + std::string(3, '\0');
  SetSecurityDirectory(file, table, 1016);
  MemorySource source(file);
  EXPECT_EQ(LocatePackageEnd(source).TableSize, 1016u);
}

struct LieCase {
  const char* name;
  std::function<void(std::string& file, uint32_t table, uint32_t size)> damage;
};

TEST(CertificateTableTest, TablesThatLieAreDamage) {
  const LieCase cases[] = {
      {"table beyond the file",
       [](std::string& f, uint32_t, uint32_t s) {
         SetSecurityDirectory(f, static_cast<uint32_t>(f.size() + 8), s);
       }},
      {"size beyond the file",
       [](std::string& f, uint32_t t, uint32_t s) { SetSecurityDirectory(f, t, s + 8); }},
      {"size wraps around",
       [](std::string& f, uint32_t t, uint32_t) { SetSecurityDirectory(f, t, 0xFFFFFFF8u); }},
      {"bytes follow the table", [](std::string& f, uint32_t, uint32_t) { f += "appended"; }},
      {"table shorter than it says",
       [](std::string& f, uint32_t t, uint32_t s) { SetSecurityDirectory(f, t, s - 8); }},
      {"offset without a size",
       [](std::string& f, uint32_t t, uint32_t) { SetSecurityDirectory(f, t, 0); }},
      {"size without an offset",
       [](std::string& f, uint32_t, uint32_t s) { SetSecurityDirectory(f, 0, s); }},
      {"table not aligned",
       [](std::string& f, uint32_t t, uint32_t s) {
         f.erase(t - 1, 1);
         SetSecurityDirectory(f, t - 1, s);
       }},
      {"padding that is not zero", [](std::string& f, uint32_t t, uint32_t) { f[t - 1] = 'x'; }},
      {"eight bytes of padding",
       [](std::string& f, uint32_t t, uint32_t s) {
         f.insert(t, 8, '\0');
         SetSecurityDirectory(f, t + 8, s);
       }},
      {"no trailer in front",
       [](std::string& f, uint32_t t, uint32_t) { f[t - 7 - 2] = 'X'; }},  // the magic's 'B'
      {"entry longer than the table",
       [](std::string& f, uint32_t t, uint32_t) { f[t + 1] = 0x10; }},
      {"entry shorter than its header",
       [](std::string& f, uint32_t t, uint32_t) {
         f[t] = 4;
         f[t + 1] = 0;
       }},
      {"table inside the package",
       [](std::string& f, uint32_t, uint32_t) {
         const uint32_t inside = 1024;
         SetSecurityDirectory(f, inside, static_cast<uint32_t>(f.size()) - inside);
       }},
      {"header behind the trailer",
       [](std::string& f, uint32_t t, uint32_t) {
         const size_t trailer = t - 7 - 12;  // the unsigned package ends 7 bytes short
         f[trailer] = static_cast<char>(t & 0xFF);
         f[trailer + 1] = static_cast<char>(t >> 8 & 0xFF);
         f[trailer + 2] = static_cast<char>(t >> 16 & 0xFF);
       }},
  };
  const std::string unsigned_file = Package(1);  // signed with 7 bytes of padding
  const std::string signed_file = SignFile(unsigned_file, 1504);
  const uint32_t table = static_cast<uint32_t>(signed_file.size() - 1504);
  for (const LieCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string file = signed_file;
    c.damage(file, table, 1504);
    MemorySource source(file);
    EXPECT_THROW(LocatePackageEnd(source), CertificateTableError);
    EXPECT_THROW(OpenPackageView(std::make_unique<MemorySource>(file)), CertificateTableError);
  }
}

}  // namespace
}  // namespace kvb
