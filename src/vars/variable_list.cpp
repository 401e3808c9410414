#include <algorithm>

#include "base/text.h"
#include "vars/variables.h"

namespace kvb {

namespace {

using Item = std::pair<std::string, std::string>;

bool NameLess(const Item& item, std::string_view name) {
  return CompareText(item.first, name) < 0;
}

}  // namespace

void TVariableList::SetValue(std::string_view name, std::string_view value) {
  // Inserting at the lower bound keeps the items sorted, as a re-sort would.
  auto it = std::lower_bound(items_.begin(), items_.end(), name, NameLess);
  if (it != items_.end() && CompareText(it->first, name) == 0) {
    it->second = value;
    return;
  }
  items_.emplace(it, std::string(name), std::string(value));
}

int TVariableList::IndexOf(std::string_view name) const {
  auto it = std::lower_bound(items_.begin(), items_.end(), name, NameLess);
  if (it == items_.end() || CompareText(it->first, name) != 0)
    return -1;
  return static_cast<int>(it - items_.begin());
}

void TVariableList::AddLine(std::string_view line) {
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) {
    SetValue(line, line);
  } else {
    SetValue(line.substr(0, eq), line.substr(eq + 1));
  }
}

std::string TVariableList::GetLine(int index) const {
  if (index < 0 || index >= Count())
    return {};
  const Item& item = items_[static_cast<size_t>(index)];
  return item.first + "=" + item.second;
}

std::pair<std::string, std::string> TVariableList::GetItem(int index) const {
  if (index < 0 || index >= Count())
    return {};
  return items_[static_cast<size_t>(index)];
}

int TVariableList::Count() const {
  return static_cast<int>(items_.size());
}

void TVariableList::Clear() {
  items_.clear();
}

}  // namespace kvb
