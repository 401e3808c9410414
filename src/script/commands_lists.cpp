// Lists held in variables: items separated by ", ". Like the component lists, the items
// are split at "|" after every ", " has been turned into "|", and joined back with ", ".
#include <algorithm>
#include <string>
#include <vector>

#include "base/text.h"
#include "script/command_context.h"
#include "vars/variables.h"

namespace kvb {
namespace {

std::vector<std::string> SplitList(std::string_view list) {
  return SplitText(JoinText(SplitText(list, ", "), "|"), "|");
}

std::string JoinList(const std::vector<std::string>& items) {
  return JoinText(items, ", ");
}

bool Contains(const std::vector<std::string>& items, std::string_view item) {
  return std::any_of(items.begin(), items.end(),
                     [&](const std::string& each) { return SameText(each, item); });
}

void ListAdd(CommandContext& c) {
  const std::string list = c.Arg(1);
  const std::string item = c.Arg(2);
  if (list.empty()) {
    c.SetOutput(item);
    return;
  }
  std::vector<std::string> items = SplitList(list);
  if (Contains(items, item))
    return;
  items.push_back(item);
  c.SetOutput(JoinList(items));
}

void ListRemove(CommandContext& c) {
  const std::string item = c.Arg(2);
  std::vector<std::string> kept;
  for (std::string& each : SplitList(c.Arg(1))) {
    if (!each.empty() && !SameText(each, item))
      kept.push_back(std::move(each));
  }
  c.SetOutput(JoinList(kept));
}

void ListItem(CommandContext& c) {
  const std::vector<std::string> items = SplitList(c.Arg(2));
  const int32_t index = c.IntArg(3);
  c.SetOutput(index >= 0 && static_cast<size_t>(index) < items.size() ? items[index] : "");
}

void ListCount(CommandContext& c) {
  const std::vector<std::string> items = SplitList(c.Arg(2));
  const auto count = std::count_if(items.begin(), items.end(),
                                   [](const std::string& each) { return !each.empty(); });
  c.SetOutput(std::to_string(count));
}

}  // namespace

bool RunListCommand(CommandContext& c) {
  switch (c.Code()) {
    case 94:
      ListAdd(c);
      return true;
    case 95:
      ListRemove(c);
      return true;
    case 96:
      c.SetOutput(Contains(SplitList(c.Arg(2)), c.Arg(3)) ? "1" : "0");
      return true;
    case 97:
      ListItem(c);
      return true;
    case 98:
      ListCount(c);
      return true;
    default:
      return false;
  }
}

}  // namespace kvb
