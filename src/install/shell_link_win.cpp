#include "install/shell_link_win.h"

#include <windows.h>
// After windows.h, which they need.
#include <objbase.h>
#include <shlobj.h>

#include <vector>

#include "base/wide_text_win.h"

namespace kvb {
namespace {

// Owns one COM interface pointer.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (p_)
      p_->Release();
  }
  T* operator->() const { return p_; }
  T* get() const { return p_; }
  void** out() { return reinterpret_cast<void**>(&p_); }

 private:
  T* p_ = nullptr;
};

}  // namespace

bool CreateShortcut(const std::string& link_path,
                    const std::string& description,
                    const std::string& target,
                    const std::string& arguments,
                    const std::string& working_dir,
                    const std::string& icon_file,
                    int icon_index,
                    int show_cmd) {
  ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              link.out()))) {
    return false;
  }
  link->SetPath(target.c_str());
  link->SetArguments(arguments.c_str());
  if (!working_dir.empty())
    link->SetWorkingDirectory(working_dir.c_str());
  if (!icon_file.empty())
    link->SetIconLocation(icon_file.c_str(), icon_index);
  link->SetShowCmd(show_cmd);
  if (!description.empty())
    link->SetDescription(description.c_str());
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.out())))
    return false;
  return SUCCEEDED(file->Save(AnsiToWide(link_path).c_str(), TRUE));
}

}  // namespace kvb
