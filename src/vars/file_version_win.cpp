#include <windows.h>

#include <cstring>
#include <vector>

#include "base/system_library_win.h"
#include "vars/file_version.h"

namespace kvb {

static_assert(sizeof(FixedFileVersion) == sizeof(VS_FIXEDFILEINFO));

namespace {

// The version-information functions, from the system's version.dll, loaded on first use
// and kept for the rest of the process.
struct VersionLibrary {
  using InfoSizeFn = DWORD(WINAPI*)(LPCSTR, LPDWORD);
  using InfoFn = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
  using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);

  VersionLibrary()
      : library("version.dll"),
        InfoSize(library.Function<InfoSizeFn>("GetFileVersionInfoSizeA")),
        Info(library.Function<InfoFn>("GetFileVersionInfoA")),
        Query(library.Function<QueryFn>("VerQueryValueA")) {}

  bool Usable() const { return InfoSize && Info && Query; }

  SystemLibrary library;
  InfoSizeFn InfoSize;
  InfoFn Info;
  QueryFn Query;
};

const VersionLibrary& Version() {
  static const VersionLibrary library;
  return library;
}

}  // namespace

bool GetFileVersion(const std::string& file, FixedFileVersion& version) {
  version = FixedFileVersion{};
  const VersionLibrary& api = Version();
  if (!api.Usable())
    return false;
  DWORD handle = 0;
  const DWORD size = api.InfoSize(file.c_str(), &handle);
  if (size == 0)
    return false;
  std::vector<char> block(size);
  if (!api.Info(file.c_str(), 0, size, block.data()))
    return false;
  void* fixed = nullptr;
  UINT length = 0;
  if (!api.Query(block.data(), "\\", &fixed, &length) || !fixed ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return false;
  }
  std::memcpy(&version, fixed, sizeof(version));
  return true;
}

}  // namespace kvb
