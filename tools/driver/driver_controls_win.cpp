// The steps of TDriver that read or operate the controls of the current window.
#include <cstdio>

#include "tools/driver/controls_win.h"
#include "tools/driver/driver_win.h"
#include "tools/driver/icons_win.h"
#include "tools/driver/wait_win.h"
#include "tools/driver/windows_win.h"

namespace kvb::driver {
namespace {

constexpr char kButtons[] = "Button";
constexpr char kEdits[] = "Edit|RichEdit20A|RichEdit20W|RICHEDIT50W";
constexpr char kLists[] = "ListBox|ComboBox";

bool HasSelectorOption(const Step& step) {
  for (const char* name : {"id", "class", "text", "after", "index"}) {
    if (step.Option(name))
      return true;
  }
  return false;
}

void PrintDump(HWND window, FILE* out) {
  for (const std::string& line : DumpLines(window))
    std::fprintf(out, "%s\n", line.c_str());
  std::fflush(out);
}

int FindItem(HWND list, const std::string& text) {
  const std::vector<ListItem> items = ListItems(list);
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].text == text)
      return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

DriverStatus TDriver::AwaitControl(const Step& step,
                                   const ControlSelector& selector,
                                   const std::string& default_classes,
                                   HWND& control) {
  if (!NeedWindow(step))
    return kStatusScriptError;
  HWND found = nullptr;
  const bool ready = WaitUntil(TimeoutOf(step), [&] {
    found = FindControl(window_, selector, default_classes);
    return found && IsWindowEnabled(found);
  });
  if (ready) {
    control = found;
    return kStatusOk;
  }
  PrintDump(window_, stderr);
  return Report(kStatusNotFound, step, found ? "the control stays disabled" : "no such control");
}

DriverStatus TDriver::Dump(const Step& step) {
  if (!NeedWindow(step))
    return kStatusScriptError;
  if (!IsWindow(window_))
    return Report(kStatusNotFound, step, "the window is gone");
  PrintDump(window_, stdout);
  return kStatusOk;
}

DriverStatus TDriver::ExpectText(const Step& step) {
  if (!NeedWindow(step))
    return kStatusScriptError;
  const std::string& wanted = step.words[0];
  const std::string* match = step.Option("match");
  if (match && *match != "exact" && *match != "part")
    return Report(kStatusScriptError, step, "match is exact or part");
  const bool part = match && *match == "part";
  auto fits = [&](const std::string& text) {
    return part ? text.find(wanted) != std::string::npos : text == wanted;
  };
  HWND control = nullptr;
  if (HasSelectorOption(step)) {
    if (DriverStatus s = AwaitControl(step, SelectorOf(step, nullptr), "*", control))
      return s;
  }
  const bool seen = WaitUntil(TimeoutOf(step), [&] {
    if (control)
      return fits(ControlText(control));
    for (const WindowInfo& info : WindowTree(window_)) {
      if (info.visible && fits(info.text))
        return true;
    }
    return false;
  });
  if (seen)
    return kStatusOk;
  PrintDump(window_, stderr);
  return Report(kStatusMismatch, step, "no text " + QuoteText(wanted));
}

DriverStatus TDriver::ExpectIcon(const Step& step) {
  if (!NeedWindow(step))
    return kStatusScriptError;
  const std::string& wanted = step.words[0];
  const char* shown = nullptr;
  const bool seen = WaitUntil(TimeoutOf(step), [&] {
    HWND control = FindIconControl(window_);
    shown = control ? StandardIconOnScreen(control) : nullptr;
    return shown && wanted == shown;
  });
  if (seen)
    return kStatusOk;
  return Report(kStatusMismatch, step,
                "the window shows " + std::string(shown ? shown : "no standard icon"));
}

DriverStatus TDriver::Click(const Step& step) {
  const std::string* caption = step.words.empty() ? nullptr : &step.words[0];
  if (!caption && !HasSelectorOption(step))
    return Report(kStatusScriptError, step, "which control? give a caption or a selector");
  HWND control = nullptr;
  if (DriverStatus s = AwaitControl(step, SelectorOf(step, caption), kButtons, control))
    return s;
  if (!PostClick(control))
    return Report(kStatusActionFailed, step, "cannot post the click");
  return kStatusOk;
}

DriverStatus TDriver::Type(const Step& step) {
  HWND control = nullptr;
  if (DriverStatus s = AwaitControl(step, SelectorOf(step, nullptr), kEdits, control))
    return s;
  const std::string& text = step.words[0];
  if (!SetControlText(control, text))
    return Report(kStatusActionFailed, step, "cannot set the text");
  const std::string now = ControlText(control);
  if (now != text)
    return Report(kStatusMismatch, step, "the control holds " + QuoteText(now));
  return kStatusOk;
}

DriverStatus TDriver::Check(const Step& step) {
  const std::string& word = step.words[0];
  if (word != "on" && word != "off")
    return Report(kStatusScriptError, step, "check on or off");
  const int wanted = word == "on" ? BST_CHECKED : BST_UNCHECKED;
  HWND box = nullptr;
  if (DriverStatus s = AwaitControl(step, SelectorOf(step, nullptr), kButtons, box))
    return s;
  // A three-state box needs up to two clicks; a radio button cannot be clicked off.
  for (int clicks = 0; clicks < 3; ++clicks) {
    const int before = CheckState(box);
    if (before == wanted)
      return kStatusOk;
    if (!PostClick(box))
      return Report(kStatusActionFailed, step, "cannot post the click");
    if (!WaitUntil(TimeoutOf(step), [&] { return CheckState(box) != before; }))
      break;
  }
  if (CheckState(box) == wanted)
    return kStatusOk;
  return Report(kStatusMismatch, step, "the box does not turn " + word);
}

DriverStatus TDriver::Select(const Step& step) {
  HWND list = nullptr;
  if (DriverStatus s = AwaitControl(step, SelectorOf(step, nullptr), kLists, list))
    return s;
  const std::string& text = step.words[0];
  int index = -1;
  if (!WaitUntil(TimeoutOf(step), [&] { return (index = FindItem(list, text)) >= 0; })) {
    PrintDump(window_, stderr);
    return Report(kStatusNotFound, step, "no item " + QuoteText(text));
  }
  if (!SelectListItem(list, index))
    return Report(kStatusActionFailed, step, "cannot select");
  return kStatusOk;
}

}  // namespace kvb::driver
