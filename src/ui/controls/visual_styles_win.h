// The visual-styles library (uxtheme), loaded at run time from the system folder when
// present: themed check boxes and borders where the user's desktop is themed, the
// classic drawing otherwise.
#pragma once

#include <windows.h>

#include <optional>

namespace kvb {

// Parts and states of the theme classes the controls draw.
namespace theme {
constexpr int kButtonCheckBox = 3;  // class "BUTTON"
constexpr int kCheckUncheckedNormal = 1;
constexpr int kCheckUncheckedDisabled = 4;
constexpr int kCheckCheckedNormal = 5;
constexpr int kCheckCheckedDisabled = 8;
constexpr int kCheckMixedNormal = 9;
constexpr int kCheckMixedDisabled = 12;
}  // namespace theme

class VisualStyles {
 public:
  static VisualStyles& Get();

  // Themes are drawn: the library is loaded and both the desktop and the program are
  // themed (or a test forced it).
  bool Active() const;
  // Draws `part` in `state` of the theme class `class_list` (for example L"BUTTON")
  // into `rect`. False when themes are not active or the class has no theme data; the
  // caller then draws the classic way.
  bool DrawPart(HWND window,
                const wchar_t* class_list,
                int part,
                int state,
                HDC dc,
                const RECT& rect) const;
  // Size of a part at its true size; nullopt without themes.
  std::optional<SIZE> PartSize(HWND window,
                               const wchar_t* class_list,
                               int part,
                               int state,
                               HDC dc) const;

  // Tests force the themed or the classic path; nullopt returns to the system's answer.
  void ForceActiveForTesting(std::optional<bool> active) { forced_ = active; }

 private:
  VisualStyles();
  struct Functions;
  const Functions& Api() const;
  std::optional<bool> forced_;
};

}  // namespace kvb
