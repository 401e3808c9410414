#include "devices/hotsync_conduit.h"

namespace kvb {
namespace {

ConduitValue Integer(const char* name, uint32_t number) {
  return {name, true, number, {}};
}

void AddText(std::vector<ConduitValue>& values, const char* name, std::string text) {
  if (!text.empty())
    values.push_back({name, false, 0, std::move(text)});
}

}  // namespace

uint32_t CreatorNumber(std::string_view creator) {
  uint32_t number = 0;
  for (size_t i = 0; i < 4; ++i) {
    const auto c = i < creator.size() ? static_cast<uint8_t>(creator[i]) : 0;
    number = (number << 8) | c;
  }
  return number;
}

std::string ConduitKeyPrefix(uint8_t kind) {
  return kind == 1 ? "Component" : "Application";
}

std::vector<ConduitValue> ConduitValues(
    const THotSyncConduit& conduit,
    const std::function<std::string(const std::string&)>& expand) {
  const bool component = conduit.Kind == 1;
  std::vector<ConduitValue> values;
  values.push_back(Integer("Creator", CreatorNumber(conduit.Creator)));
  values.push_back(
      {"Conduit", false, 0, conduit.ComFlag ? "ComConduit.dll" : expand(conduit.ConduitFile)});
  AddText(values, "Directory", expand(conduit.Directory));
  AddText(values, "Remote0", expand(conduit.RemoteDatabase));
  AddText(values, "File0", expand(conduit.FileName));
  values.push_back(Integer("Integrate", component ? 1 : 0));
  AddText(values, "Name", expand(conduit.Name));
  AddText(values, "Information", expand(conduit.Information));
  values.push_back(Integer("Priority", conduit.Priority));
  if (!component)
    AddText(values, "Module", expand(conduit.Module));
  if (conduit.ComFlag)
    values.push_back({"COMClient", false, 0, expand(conduit.ComClient)});
  return values;
}

}  // namespace kvb
