#include "signing.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "host.h"
#include "output_files.h"
#include "setup_file.h"

namespace kvb::pack {

namespace {

constexpr char kSigningTool[] = "osslsigncode";

// Options from a project name their table; options from the command line do not.
[[noreturn]] void Fail(const SigningOptions& options, const std::string& message) {
  if (options.pos.file.empty())
    throw std::runtime_error(message);
  throw ProjectError(options.pos, message);
}

void AddCredentials(const SigningOptions& o, SignCommand& command) {
  const bool pair = !o.certificate.empty() || !o.key.empty();
  if (pair && !o.pkcs12.empty())
    Fail(o, "give either a certificate with its key or a PKCS#12 file, not both");
  if (o.pkcs12.empty() && (o.certificate.empty() || o.key.empty())) {
    Fail(o, "signing needs a certificate file and its key file, or a PKCS#12 file");
  }
  if (!o.pkcs12.empty())
    command.args.insert(command.args.end(), {"-pkcs12", o.pkcs12});
  else
    command.args.insert(command.args.end(), {"-certs", o.certificate, "-key", o.key});
}

void AddPassword(const SigningOptions& o, SignCommand& command) {
  if (!o.password_env.empty() && !o.password_file.empty())
    Fail(o, "give the password either in an environment variable or in a file");
  if (!o.password_file.empty()) {
    command.args.insert(command.args.end(), {"-readpass", o.password_file});
  } else if (!o.password_env.empty()) {
    const char* password = std::getenv(o.password_env.c_str());
    if (!password)
      Fail(o, "the environment variable " + o.password_env + " is not set");
    command.args.insert(command.args.end(), {"-readpass", StandardInputName()});
    command.input = password;
  }
}

ProgramRun RunSigningTool(const std::vector<std::string>& args, const std::string& input) {
  const ProgramRun run = RunProgram(args, input);
  if (!run.started) {
    throw std::runtime_error(
        "osslsigncode is needed to sign and verify setup programs and was not found: install "
        "it (Debian and Ubuntu: apt-get install osslsigncode) or put it on the PATH");
  }
  return run;
}

}  // namespace

SignCommand MakeSignCommand(const SigningOptions& options,
                            const std::string& input,
                            const std::string& output) {
  SignCommand command;
  command.args = {kSigningTool, "sign"};
  AddCredentials(options, command);
  AddPassword(options, command);
  command.args.insert(command.args.end(), {"-h", "sha256"});
  if (!options.description.empty())
    command.args.insert(command.args.end(), {"-n", options.description});
  if (!options.url.empty())
    command.args.insert(command.args.end(), {"-i", options.url});
  if (!options.timestamp_url.empty())
    command.args.insert(command.args.end(), {"-ts", options.timestamp_url});
  command.args.insert(command.args.end(), {"-in", input, "-out", output});
  return command;
}

void SignSetupFile(const SigningOptions& options,
                   const std::string& input,
                   const std::string& output) {
  OpenSetupFile(input);  // refuses what is no setup program
  const SignCommand command = MakeSignCommand(options, input, output);
  const ProgramRun run = RunSigningTool(command.args, command.input);
  if (run.exit_code != 0)
    throw std::runtime_error("osslsigncode could not sign \"" + input + "\":\n" + run.output);
  try {
    OpenSetupFile(output);
  } catch (const std::exception& e) {
    throw std::runtime_error(std::string("the signed file hides its package: ") + e.what());
  }
}

void SignSetupInPlace(const SigningOptions& options, const std::string& path) {
  OutputFiles files(path);
  const std::string signed_file = files.Temporary(".signed");
  SignSetupFile(options, path, signed_file);
  files.Commit(signed_file, path);
}

SignatureCheck CheckSignature(const std::string& path, const std::string& ca_file) {
  std::vector<std::string> args = {kSigningTool, "verify", "-in", path};
  if (!ca_file.empty())
    args.insert(args.end(), {"-CAfile", ca_file});
  const ProgramRun run = RunSigningTool(args, "");
  return {run.exit_code == 0, run.output};
}

}  // namespace kvb::pack
