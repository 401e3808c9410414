// Authenticode signing of setup programs through osslsigncode, and the check of a
// signature. The whole setup is signed, package included: signing only the program
// image in front of the package would leave the package outside the signature.
#pragma once

#include <string>
#include <vector>

#include "diagnostics.h"

namespace kvb::pack {

struct SigningOptions {
  SourcePos pos;              // the project's [signing] table, for messages
  std::string certificate;    // certificate file (PEM or DER), signed with `key`
  std::string key;            // its private key file
  std::string pkcs12;         // or certificate and key together in a PKCS#12 file
  std::string password_env;   // environment variable that holds the key's password
  std::string password_file;  // or a file that holds it
  std::string timestamp_url;  // RFC 3161 time-stamp server; none when empty
  std::string description;    // the program name shown with the signature
  std::string url;            // the address shown with the signature
  bool operator==(const SigningOptions&) const = default;
};

// The osslsigncode command that signs `input` into `output`, and what it reads on its
// standard input (the password from the environment, or nothing). The password never
// appears in the command. Throws std::runtime_error when the options are incomplete or
// contradict each other, or the password's variable is not set.
struct SignCommand {
  std::vector<std::string> args;
  std::string input;
};
SignCommand MakeSignCommand(const SigningOptions& options,
                            const std::string& input,
                            const std::string& output);

// Signs the setup program `input` into `output` and checks that the signed file still
// leads to its package. Throws std::runtime_error when `input` is no setup program,
// when osslsigncode is missing (saying how to get it) or fails (with its words).
void SignSetupFile(const SigningOptions& options,
                   const std::string& input,
                   const std::string& output);

// Signs the setup program at `path` in place: the signed file replaces it only when
// signing succeeded.
void SignSetupInPlace(const SigningOptions& options, const std::string& path);

// osslsigncode's verdict on the signature of `path`, checked against the certificates
// of `ca_file` (the system's when empty).
struct SignatureCheck {
  bool valid = false;
  std::string detail;  // osslsigncode's report
};
SignatureCheck CheckSignature(const std::string& path, const std::string& ca_file);

}  // namespace kvb::pack
