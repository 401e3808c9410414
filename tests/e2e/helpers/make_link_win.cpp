// Writes a shortcut file through the shell's IShellLinkA, so the harness's shortcut
// checks can be tested against a real .lnk.
// Usage: make_link LINK TARGET ARGUMENTS WORKDIR DESCRIPTION ICON ICONINDEX SHOWCMD
#include <shlobj.h>
#include <windows.h>

#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  if (argc != 9)
    return 2;
  if (FAILED(CoInitialize(nullptr)))
    return 3;
  IShellLinkA* link = nullptr;
  IPersistFile* file = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link));
  if (SUCCEEDED(hr)) {
    link->SetPath(argv[2]);
    link->SetArguments(argv[3]);
    link->SetWorkingDirectory(argv[4]);
    link->SetDescription(argv[5]);
    link->SetIconLocation(argv[6], std::atoi(argv[7]));
    link->SetShowCmd(std::atoi(argv[8]));
    hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  }
  if (SUCCEEDED(hr)) {
    wchar_t path[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, argv[1], -1, path, MAX_PATH);
    hr = file->Save(path, TRUE);
  }
  if (file)
    file->Release();
  if (link)
    link->Release();
  CoUninitialize();
  return SUCCEEDED(hr) ? 0 : 1;
}
