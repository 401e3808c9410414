#include "ui/controls/visual_styles_win.h"

#include "base/system_library_win.h"

namespace kvb {

// The functions of the visual-styles library, bound by name.
struct VisualStyles::Functions {
  using Theme = HANDLE;
  SystemLibrary Library{"uxtheme.dll"};
  BOOL(WINAPI* IsThemeActive)() = Library.Function<decltype(IsThemeActive)>("IsThemeActive");
  BOOL(WINAPI* IsAppThemed)() = Library.Function<decltype(IsAppThemed)>("IsAppThemed");
  Theme(WINAPI* OpenThemeData)(HWND, LPCWSTR) =
      Library.Function<decltype(OpenThemeData)>("OpenThemeData");
  HRESULT(WINAPI* CloseThemeData)
  (Theme) = Library.Function<decltype(CloseThemeData)>("CloseThemeData");
  HRESULT(WINAPI* DrawThemeBackground)
  (Theme, HDC, int, int, const RECT*, const RECT*) =
      Library.Function<decltype(DrawThemeBackground)>("DrawThemeBackground");
  // The last argument but one is THEMESIZE; 1 is TS_TRUE.
  HRESULT(WINAPI* GetThemePartSize)
  (Theme, HDC, int, int, const RECT*, int, SIZE*) =
      Library.Function<decltype(GetThemePartSize)>("GetThemePartSize");

  bool Complete() const {
    return IsThemeActive && IsAppThemed && OpenThemeData && CloseThemeData && DrawThemeBackground &&
           GetThemePartSize;
  }
};

VisualStyles& VisualStyles::Get() {
  static VisualStyles instance;
  return instance;
}

VisualStyles::VisualStyles() = default;

const VisualStyles::Functions& VisualStyles::Api() const {
  static const Functions functions;
  return functions;
}

bool VisualStyles::Active() const {
  if (forced_)
    return *forced_ && Api().Complete();
  const Functions& api = Api();
  return api.Complete() && api.IsThemeActive() && api.IsAppThemed();
}

bool VisualStyles::DrawPart(HWND window,
                            const wchar_t* class_list,
                            int part,
                            int state,
                            HDC dc,
                            const RECT& rect) const {
  if (!Active())
    return false;
  const Functions& api = Api();
  HANDLE theme = api.OpenThemeData(window, class_list);
  if (!theme)
    return false;
  const bool drawn = SUCCEEDED(api.DrawThemeBackground(theme, dc, part, state, &rect, nullptr));
  api.CloseThemeData(theme);
  return drawn;
}

std::optional<SIZE> VisualStyles::PartSize(HWND window,
                                           const wchar_t* class_list,
                                           int part,
                                           int state,
                                           HDC dc) const {
  if (!Active())
    return std::nullopt;
  const Functions& api = Api();
  HANDLE theme = api.OpenThemeData(window, class_list);
  if (!theme)
    return std::nullopt;
  SIZE size{};
  const bool known = SUCCEEDED(api.GetThemePartSize(theme, dc, part, state, nullptr, 1, &size));
  api.CloseThemeData(theme);
  if (!known)
    return std::nullopt;
  return size;
}

}  // namespace kvb
