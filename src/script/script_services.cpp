#include "script/script_services.h"

#include "devices/device_accessor.h"
#include "net/http_transport.h"

namespace kvb {

// Defined here, where the owned carriers are complete types.
ScriptServices::ScriptServices() = default;
ScriptServices::ScriptServices(ScriptServices&&) noexcept = default;
ScriptServices& ScriptServices::operator=(ScriptServices&&) noexcept = default;
ScriptServices::~ScriptServices() = default;

}  // namespace kvb
