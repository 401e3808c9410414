// Signed setups on the builder's side: the signing command and its options, a signed
// program image, info, dump and verify of signed setups, and a missing signing tool.
#include <gtest/gtest.h>

#include <cstdlib>

#include "build.h"
#include "cli.h"
#include "pack_test_util.h"
#include "project_reader.h"
#include "setup_file.h"
#include "setupdata/signed_file.h"
#include "signing.h"

namespace kvb::pack {
namespace {

using test::Scratch;
using Args = std::vector<std::string>;

// Sets an environment variable for the length of a scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name))
      old_ = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

SigningOptions With(void (*set)(SigningOptions&)) {
  SigningOptions options;
  set(options);
  return options;
}

struct CommandCase {
  const char* name;
  SigningOptions options;
  Args args;          // between "sign" and "-in"
  std::string input;  // on standard input
};

TEST(SigningTest, CommandCarriesTheOptionsButNeverThePassword) {
  ScopedEnv password("KVB_TEST_PASSWORD", "s3cret pass");
  const CommandCase cases[] = {
      {"certificate and key",
       With([](SigningOptions& o) {
         o.certificate = "c.pem";
         o.key = "k.pem";
       }),
       {"-certs", "c.pem", "-key", "k.pem", "-h", "sha256"},
       ""},
      {"PKCS#12 with a password file and every text",
       With([](SigningOptions& o) {
         o.pkcs12 = "p.p12";
         o.password_file = "pw.txt";
         o.timestamp_url = "http://ts.example";
         o.description = "Demo Suite";
         o.url = "https://example.com";
       }),
       {"-pkcs12", "p.p12", "-readpass", "pw.txt", "-h", "sha256", "-n", "Demo Suite", "-i",
        "https://example.com", "-ts", "http://ts.example"},
       ""},
      {"password from the environment",
       With([](SigningOptions& o) {
         o.pkcs12 = "p.p12";
         o.password_env = "KVB_TEST_PASSWORD";
       }),
       {"-pkcs12", "p.p12", "-readpass", "/dev/stdin", "-h", "sha256"},
       "s3cret pass"},
  };
  for (const CommandCase& c : cases) {
    SCOPED_TRACE(c.name);
    const SignCommand command = MakeSignCommand(c.options, "in.exe", "out.exe");
    Args expected = {"osslsigncode", "sign"};
    expected.insert(expected.end(), c.args.begin(), c.args.end());
    expected.insert(expected.end(), {"-in", "in.exe", "-out", "out.exe"});
    EXPECT_EQ(command.args, expected);
    EXPECT_EQ(command.input, c.input);
  }
}

TEST(SigningTest, IncompleteOptionsAreRefused) {
  ScopedEnv unset("KVB_TEST_UNSET", nullptr);
  const std::pair<SigningOptions, const char*> cases[] = {
      {{}, "a certificate file and its key file, or a PKCS#12 file"},
      {With([](SigningOptions& o) { o.certificate = "c.pem"; }),
       "a certificate file and its key file"},
      {With([](SigningOptions& o) {
         o.certificate = "c.pem";
         o.key = "k.pem";
         o.pkcs12 = "p.p12";
       }),
       "not both"},
      {With([](SigningOptions& o) {
         o.pkcs12 = "p.p12";
         o.password_env = "A";
         o.password_file = "f";
       }),
       "either in an environment"},
      {With([](SigningOptions& o) {
         o.pkcs12 = "p.p12";
         o.password_env = "KVB_TEST_UNSET";
       }),
       "KVB_TEST_UNSET is not set"},
  };
  for (const auto& [options, message] : cases) {
    try {
      MakeSignCommand(options, "in.exe", "out.exe");
      ADD_FAILURE() << message;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
    }
  }
  SigningOptions from_project;
  from_project.pos = {"p.toml", 7, 1};
  EXPECT_THROW(MakeSignCommand(from_project, "in", "out"), ProjectError);
}

TEST(SigningTest, ProjectSigningTable) {
  const Project p = ReadProjectText(R"(
[signing]
pkcs12 = "keys/cert.p12"
password-env = "SIGN_PASSWORD"
timestamp-url = "http://ts.example"
description = "Demo"
url = "https://example.com"
)",
                                    "p.toml", "/base");
  ASSERT_TRUE(p.signing);
  EXPECT_EQ(p.signing->pkcs12, "keys/cert.p12");
  EXPECT_EQ(p.signing->password_env, "SIGN_PASSWORD");
  EXPECT_EQ(p.signing->timestamp_url, "http://ts.example");
  EXPECT_EQ(p.signing->description, "Demo");
  EXPECT_EQ(p.signing->url, "https://example.com");
  EXPECT_EQ(p.signing->pos.line, 2);
  EXPECT_FALSE(ReadProjectText("[software]\n", "p.toml", "/base").signing);
  try {
    ReadProjectText("[signing]\npkcs12 = \"c.p12\"\npassword = \"secret\"\n", "p.toml", "/base");
    ADD_FAILURE() << "a password in the project was taken";
  } catch (const ProjectError& e) {
    EXPECT_NE(std::string(e.what()).find("p.toml:3:12: the password does not belong"),
              std::string::npos)
        << e.what();
  }
}

// A small project with a temporary file, built on `stub` into dir/Setup.exe.
BuildResult BuildSmall(const Scratch& dir, const std::string& stub, const std::string& extra = "") {
  test::WriteFile(dir / "stub.exe", stub);
  test::WriteFile(dir / "notes.txt", test::Noise(3000, 7));
  test::WriteFile(dir / "p.toml",
                  "[software]\nname = \"Demo\"\n[[temp-file]]\nsource = "
                  "\"notes.txt\"\n" +
                      extra);
  BuildOptions options;
  options.output = dir / "Setup.exe";
  options.stub = dir / "stub.exe";
  return BuildPackage(ReadProject(dir / "p.toml"), options);
}

// A signed program image loses its signature, which could not cover the package; the
// built setup is unsigned, and a dump gives back the unsigned image.
TEST(SigningTest, SignedImageIsBuiltUnsigned) {
  Scratch dir;
  const BuildResult result = BuildSmall(dir, ::kvb::test::SignFile(::kvb::test::PeImage()));
  ASSERT_EQ(result.warnings.size(), 1u);
  EXPECT_NE(result.warnings[0].find("sign the built setup instead"), std::string::npos);
  const std::string built = test::ReadFile(dir / "Setup.exe");
  EXPECT_EQ(built.substr(0, 512), ::kvb::test::PeImage());
  const SetupFile setup = OpenSetupFile(dir / "Setup.exe");
  EXPECT_FALSE(setup.end.Signed);
  EXPECT_EQ(setup.pkg.Header.Trailer.HeaderOffset, 512u);
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

struct CliRun {
  int code;
  std::string out, err;
};

CliRun Kvbpack(Args args) {
  args.insert(args.begin(), "kvbpack");
  std::vector<char*> argv;
  for (std::string& a : args)
    argv.push_back(a.data());
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  const int code = RunCommandLine(static_cast<int>(argv.size()), argv.data());
  return {code, testing::internal::GetCapturedStdout(), testing::internal::GetCapturedStderr()};
}

// Info and dump read a signed setup (signed here by hand, as signing tools do) as they
// read the unsigned one; rebuilding the dump gives the unsigned setup byte for byte.
TEST(SigningTest, InfoAndDumpReadSignedSetups) {
  Scratch dir;
  BuildSmall(dir, ::kvb::test::PeImage());
  const std::string unsigned_bytes = test::ReadFile(dir / "Setup.exe");
  test::WriteFile(dir / "Signed.exe", ::kvb::test::SignFile(unsigned_bytes));

  CliRun r = Kvbpack({"info", dir / "Signed.exe"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(Has(r.out, "Signature: certificate table at " +
                             std::to_string(unsigned_bytes.size()) + ", 1504 bytes\n"))
      << r.out;
  EXPECT_TRUE(Has(r.out, "temporary files: 1 entries")) << r.out;

  r = Kvbpack({"dump", dir / "Signed.exe", "-o", dir / "dump"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(test::ReadFile(dir / "dump/kvbsetup.exe"), ::kvb::test::PeImage());
  r = Kvbpack({"build", dir / "dump/project.toml", "-o", dir / "Rebuilt.exe"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(test::ReadFile(dir / "Rebuilt.exe"), unsigned_bytes);
}

TEST(SigningTest, VerifyReportsSignatureAndPackage) {
  Scratch dir;
  BuildSmall(dir, ::kvb::test::PeImage());
  CliRun r = Kvbpack({"verify", dir / "Setup.exe"});
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(Has(r.out,
                  "Signature: none\nPackage: intact (every section read, 1 archive "
                  "entries inflated)\n"))
      << r.out;

  // A byte changed in the compressed temporary file.
  std::string bytes = test::ReadFile(dir / "Setup.exe");
  const SetupFile setup = OpenSetupFile(dir / "Setup.exe");
  bytes[setup.pkg.TempSection.Begin + setup.pkg.TempSection.Size() / 2] ^= 0x55;
  test::WriteFile(dir / "Damaged.exe", bytes);
  r = Kvbpack({"verify", dir / "Damaged.exe"});
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(Has(r.out, "Package: damaged: ")) << r.out;
}

// Without osslsigncode, sign and a signing build say how to get it and change nothing.
TEST(SigningTest, MissingSigningToolIsExplained) {
  Scratch dir;
  BuildSmall(dir, "MZ stub");
  const std::string before = test::ReadFile(dir / "Setup.exe");
  ScopedEnv path("PATH", (dir / "no-tools").c_str());
  CliRun r = Kvbpack({"sign", dir / "Setup.exe", "--cert", "c.pem", "--key", "k.pem"});
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(Has(r.err, "osslsigncode is needed")) << r.err;
  EXPECT_TRUE(Has(r.err, "apt-get install osslsigncode")) << r.err;
  EXPECT_EQ(test::ReadFile(dir / "Setup.exe"), before);

  std::filesystem::remove(dir / "Setup.exe");
  EXPECT_THROW(BuildSmall(dir, "MZ stub", "[signing]\ncertificate = \"c.pem\"\nkey = \"k.pem\"\n"),
               std::runtime_error);
  EXPECT_FALSE(std::filesystem::exists(dir / "Setup.exe"));
  EXPECT_EQ(test::Listing(dir.path()), "notes.txt p.toml stub.exe ");
}

}  // namespace
}  // namespace kvb::pack
