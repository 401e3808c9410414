// `kvbpack verify`: whether a setup program carries a valid signature, and whether the
// package behind it is intact.
#pragma once

#include <ostream>
#include <string>

namespace kvb::pack {

// Prints what it finds about `setup_path`: the signature (osslsigncode's verdict,
// checked against the certificates of `ca_file`, the system's when empty) and the
// package (every section read, every archive entry inflated, volume files included).
// Returns 0 when the signature is valid and the package intact, else 1. Throws
// std::runtime_error when the file cannot be opened or osslsigncode is missing.
int VerifySetup(const std::string& setup_path, const std::string& ca_file, std::ostream& out);

}  // namespace kvb::pack
