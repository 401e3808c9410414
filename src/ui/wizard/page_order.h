// The order of the wizard's pages: the first and last page, and the pages Next and Back
// lead to. Only dialogs of type 0 are pages; "INSTALL" is left to the install command
// when it is the first or last dialog, and is reached by Next and Back like any page
// when it stands between others. Portable; host-tested.
#pragma once

#include <string>
#include <vector>

#include "setupdata/records.h"

namespace kvb {

inline constexpr char kInstallPageName[] = "INSTALL";

struct PagePosition {
  std::string CurrentName;        // the page shown now; "" before the first
  std::string PageBeforeInstall;  // the page current when "INSTALL" was entered
};

// The first and the last dialog of type 0 whose name is not "INSTALL"; "" when none.
std::string FirstPageName(const std::vector<TSetupDialog>& dialogs);
std::string LastPageName(const std::vector<TSetupDialog>& dialogs);

// The page after the current one: the first page before any; the last page stays the
// last; otherwise the first page dialog behind the current one (behind the page before
// "INSTALL" while "INSTALL" shows), else the current one itself.
std::string NextPageName(const std::vector<TSetupDialog>& dialogs, const PagePosition& position);
// The page before the current one, by the same rules towards the front.
std::string PreviousPageName(const std::vector<TSetupDialog>& dialogs,
                             const PagePosition& position);

// The first dialog of this name (case-insensitive); null when none.
const TSetupDialog* FindDialog(const std::vector<TSetupDialog>& dialogs, const std::string& name);

}  // namespace kvb
