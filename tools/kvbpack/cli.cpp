#include "cli.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <memory>

#include "build.h"
#include "dump.h"
#include "file_facts.h"
#include "host.h"
#include "info.h"
#include "progress_bar.h"
#include "project_reader.h"
#include "signing.h"
#include "toml_reader.h"
#include "verify.h"

namespace kvb::pack {
namespace {

namespace fs = std::filesystem;

// The first of `candidates` (relative to kvbpack's folder) that exists, or "".
std::string FindBesideSelf(std::initializer_list<const char*> candidates) {
  const std::string self = SelfPath();
  if (self.empty())
    return {};
  const fs::path dir = fs::path(self).parent_path();
  std::error_code ec;
  for (const char* c : candidates) {
    const fs::path p = (dir / c).lexically_normal();
    if (fs::is_regular_file(p, ec))
      return p.string();
  }
  return {};
}

// kvbsetup.exe next to kvbpack, or in the Windows build tree beside this build.
std::string DefaultStub() {
  return FindBesideSelf(
      {"kvbsetup.exe", "../../src/startup/kvbsetup.exe", "../../../win/src/startup/kvbsetup.exe"});
}

std::string DefaultUninstaller(const std::string& stub) {
  std::error_code ec;
  if (!stub.empty()) {
    const fs::path beside = fs::path(stub).parent_path() / "kvbuninst.exe";
    if (fs::is_regular_file(beside, ec))
      return beside.string();
  }
  return FindBesideSelf({"kvbuninst.exe", "../kvbuninst/kvbuninst.exe",
                         "../../../win/tools/kvbuninst/kvbuninst.exe"});
}

struct BuildArgs {
  std::string project, output, stub, volume_size;
  unsigned jobs = 0;
};

int RunBuild(const BuildArgs& args) {
  BuildOptions options;
  if (!args.volume_size.empty()) {
    options.volume_size = ParseSizeText(args.volume_size);
    if (!options.volume_size || *options.volume_size == 0) {
      std::cerr << "kvbpack: --volume-size must be a number of bytes or a size like 1440K, 650M\n";
      return 2;
    }
  }
  const Project project = ReadProject(args.project);
  options.output = args.output;
  options.stub = args.stub;
  if (options.stub.empty() && project.stub.empty())
    options.stub = DefaultStub();
  options.jobs = args.jobs;
  const std::string stub =
      options.stub.empty() ? JoinPath(project.base_dir, project.stub) : options.stub;
  options.default_uninstaller = DefaultUninstaller(stub);
  std::unique_ptr<ProgressBar> bar;
  if (IsTerminal(stderr)) {
    bar = std::make_unique<ProgressBar>(stderr);
    options.on_progress = [&bar](uint64_t done, uint64_t total) { bar->Update(done, total); };
  }
  const BuildResult result = BuildPackage(project, options);
  bar.reset();
  for (const std::string& w : result.warnings)
    std::cerr << "kvbpack: warning: " << w << "\n";
  std::cout << args.output << ": " << result.size << " bytes";
  if (result.volumes)
    std::cout << ", " << result.volumes << " volume files";
  if (result.signed_setup)
    std::cout << ", signed";
  std::cout << "\n";
  return 0;
}

void AddSignOptions(CLI::App& cmd, std::string& setup, SigningOptions& o) {
  cmd.add_option("setup", setup, "Setup program to sign (replaced by the signed one)")->required();
  cmd.add_option("--cert", o.certificate, "Certificate file (PEM or DER), with --key");
  cmd.add_option("--key", o.key, "Private key file of the certificate");
  cmd.add_option("--pkcs12", o.pkcs12, "Certificate and key in one PKCS#12 file");
  cmd.add_option("--password-env", o.password_env,
                 "Environment variable that holds the key's password");
  cmd.add_option("--password-file", o.password_file, "File that holds the key's password");
  cmd.add_option("--timestamp", o.timestamp_url, "Time-stamp server (RFC 3161) to ask");
  cmd.add_option("--description", o.description, "Program name shown with the signature");
  cmd.add_option("--url", o.url, "Address shown with the signature");
}

}  // namespace

int RunCommandLine(int argc, char** argv) {
  CLI::App app{"kvbpack: builds Kalvenbrooker setup programs from project files"};
  app.require_subcommand(1);
  // Paths may start with '/' (also under Wine); they are never "/option" switches.
  app.allow_windows_style_options(false);

  BuildArgs build;
  CLI::App* build_cmd = app.add_subcommand("build", "Build a setup program from a project file");
  build_cmd->add_option("project", build.project, "Project file (TOML)")->required();
  build_cmd->add_option("-o,--output", build.output, "Setup program to write")->required();
  build_cmd->add_option("--stub", build.stub,
                        "kvbsetup.exe to build on (default: the project's, "
                        "else the one beside kvbpack)");
  build_cmd->add_option(
      "--volume-size", build.volume_size,
      "Put the main archive into volume files of at most this size (1440K, 650M)");
  build_cmd->add_option("-j,--jobs", build.jobs, "Compression threads (default: one per core)");

  std::string dump_input, dump_dir;
  CLI::App* dump_cmd =
      app.add_subcommand("dump", "Write a project and its files from a setup program");
  dump_cmd->add_option("setup", dump_input, "Setup program")->required();
  dump_cmd->add_option("-o,--output", dump_dir, "Folder to write into")->required();

  std::string info_input;
  CLI::App* info_cmd = app.add_subcommand("info", "Describe a setup program");
  info_cmd->add_option("setup", info_input, "Setup program")->required();

  std::string sign_input;
  SigningOptions signing;
  CLI::App* sign_cmd =
      app.add_subcommand("sign", "Sign a built setup program (Authenticode, through osslsigncode)");
  AddSignOptions(*sign_cmd, sign_input, signing);

  std::string verify_input, ca_file;
  CLI::App* verify_cmd = app.add_subcommand(
      "verify", "Check a setup program's signature and that its package is intact");
  verify_cmd->add_option("setup", verify_input, "Setup program")->required();
  verify_cmd->add_option("--ca-file", ca_file,
                         "Certificates to trust (default: the system's, as osslsigncode has them)");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? 0 : 2;
  }
  try {
    if (*build_cmd)
      return RunBuild(build);
    if (*dump_cmd) {
      const DumpResult result = DumpPackage(dump_input, dump_dir);
      for (const std::string& w : result.warnings)
        std::cerr << "kvbpack: warning: a rebuild differs in " << w << "\n";
      std::cout << result.project_file << "\n";
      return 0;
    }
    if (*info_cmd) {
      PrintPackageInfo(info_input, std::cout);
      return 0;
    }
    if (*sign_cmd) {
      SignSetupInPlace(signing, sign_input);
      std::cout << sign_input << ": signed\n";
      return 0;
    }
    if (*verify_cmd)
      return VerifySetup(verify_input, ca_file, std::cout);
  } catch (const ProjectError& e) {
    std::cerr << e.what() << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "kvbpack: " << e.what() << "\n";
    return 1;
  }
  return 2;
}

}  // namespace kvb::pack
