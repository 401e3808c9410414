// The four-button question a removal asks about a shared file (may it go?), shown with
// TfrmMsgBoxFiles over the window that shows the removal.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

#include "uninstall/removal_machine.h"

namespace kvb {

class FileActionDialog final : public FileActionPrompt {
 public:
  // `owner` names the window the question belongs to at the moment it is asked.
  explicit FileActionDialog(std::function<HWND()> owner) : owner_(std::move(owner)) {}

  // Closing the question by its frame counts as No.
  FileAnswer Ask(const FileActionQuestion& question) override;

 private:
  std::function<HWND()> owner_;
};

}  // namespace kvb
