// The Windows registry behind the package variables' defaults.
#pragma once

#include "vars/variable_loading.h"

namespace kvb {

class WinRegistryReader final : public RegistryReader {
 public:
  // Keys open with KEY_ALL_ACCESS, on purpose: a user who may not write the key gets the
  // variable's default (the other registry reads open for reading only). A value of another type
  // than REG_SZ or REG_EXPAND_SZ gives nullopt, so that the variable falls back to its default
  // instead of stopping the start of the setup.
  std::optional<std::string> ReadString(RegRoot root,
                                        std::string_view key,
                                        std::string_view value_name) override;
};

}  // namespace kvb
