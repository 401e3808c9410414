// Results of a modal form, with the platform's values (IDOK, IDCANCEL ...).
#pragma once

namespace kvb {

enum ModalResult : int {
  kMrNone = 0,
  kMrOk = 1,
  kMrCancel = 2,
  kMrAbort = 3,
  kMrYes = 6,
  kMrNo = 7,
  kMrNoToAll = 9,
  kMrYesToAll = 10,
};

}  // namespace kvb
