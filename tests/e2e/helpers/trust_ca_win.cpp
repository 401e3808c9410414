// Makes the Wine prefix it runs in trust a test certificate authority: adds the DER
// certificate file to the local machine's "Root" system store, which Wine's crypt32 keeps
// in the prefix's registry (HKLM\Software\Microsoft\SystemCertificates\Root) and which
// WinINet's certificate checks consult. Each test prefix is a fresh copy, so the authority
// is trusted only inside the test that added it.
// Usage: trust_ca CERTIFICATE.der
#include <windows.h>

#include <wincrypt.h>  // after windows.h, which it needs

#include <fstream>
#include <iterator>
#include <vector>

#include "base/system_library_win.h"

int main(int argc, char** argv) {
  if (argc != 2)
    return 2;
  std::ifstream file(argv[1], std::ios::binary);
  const std::vector<char> der((std::istreambuf_iterator<char>(file)),
                              std::istreambuf_iterator<char>());
  if (der.empty())
    return 3;
  kvb::RestrictDllSearchPath();
  const kvb::SystemLibrary crypt32("crypt32.dll");
  const auto open_store = crypt32.Function<decltype(&CertOpenStore)>("CertOpenStore");
  const auto add = crypt32.Function<decltype(&CertAddEncodedCertificateToStore)>(
      "CertAddEncodedCertificateToStore");
  const auto close_store = crypt32.Function<decltype(&CertCloseStore)>("CertCloseStore");
  if (!open_store || !add || !close_store)
    return 4;
  HCERTSTORE store =
      open_store(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, "Root");
  if (!store)
    return 5;
  const BOOL added = add(store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                         static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
  close_store(store, 0);
  return added ? 0 : 1;
}
