#include "ui/wizard/page_order.h"

#include "base/text.h"

namespace kvb {

namespace {

bool IsPage(const TSetupDialog& dialog) {
  return dialog.Type == 0;
}

bool IsListedPage(const TSetupDialog& dialog) {
  return IsPage(dialog) && !SameText(dialog.Name, kInstallPageName);
}

// Where the walks start: the current page, or the page before "INSTALL" while it shows.
std::string WalkStart(const PagePosition& position) {
  return SameText(position.CurrentName, kInstallPageName) ? position.PageBeforeInstall
                                                          : position.CurrentName;
}

}  // namespace

std::string FirstPageName(const std::vector<TSetupDialog>& dialogs) {
  for (const TSetupDialog& dialog : dialogs) {
    if (IsListedPage(dialog))
      return dialog.Name;
  }
  return "";
}

std::string LastPageName(const std::vector<TSetupDialog>& dialogs) {
  for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it) {
    if (IsListedPage(*it))
      return it->Name;
  }
  return "";
}

std::string NextPageName(const std::vector<TSetupDialog>& dialogs, const PagePosition& position) {
  if (position.CurrentName.empty())
    return FirstPageName(dialogs);
  const std::string last = LastPageName(dialogs);
  if (position.CurrentName == last)
    return last;
  const std::string start = WalkStart(position);
  bool behind_start = false;
  for (const TSetupDialog& dialog : dialogs) {
    if (behind_start && IsPage(dialog))
      return dialog.Name;
    if (SameText(dialog.Name, start))
      behind_start = true;
  }
  return start;
}

std::string PreviousPageName(const std::vector<TSetupDialog>& dialogs,
                             const PagePosition& position) {
  const std::string first = FirstPageName(dialogs);
  if (position.CurrentName.empty() || position.CurrentName == first)
    return first;
  const std::string start = WalkStart(position);
  std::string previous;
  for (const TSetupDialog& dialog : dialogs) {
    if (SameText(dialog.Name, start))
      break;
    if (IsPage(dialog))
      previous = dialog.Name;
  }
  return previous.empty() ? start : previous;
}

const TSetupDialog* FindDialog(const std::vector<TSetupDialog>& dialogs, const std::string& name) {
  for (const TSetupDialog& dialog : dialogs) {
    if (SameText(dialog.Name, name))
      return &dialog;
  }
  return nullptr;
}

}  // namespace kvb
