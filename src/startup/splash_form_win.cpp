#include "startup/splash_form_win.h"

#include "startup/startup_layout.h"
#include "ui/base/graphics_win.h"

namespace kvb {

namespace {
constexpr DWORD kSplashStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
}  // namespace

std::unique_ptr<TfrmSplashBitmapForm> TfrmSplashBitmapForm::Show(HINSTANCE instance,
                                                                 HWND owner,
                                                                 const std::string& bitmap_file,
                                                                 const std::string& caption,
                                                                 ScreenSize screen) {
  UniqueBitmap bitmap = LoadBitmapFile(bitmap_file);
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap.Get(), sizeof(info), &info))
    return nullptr;
  RECT frame = {0, 0, info.bmWidth, info.bmHeight};
  AdjustWindowRectEx(&frame, kSplashStyle, FALSE, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const ScreenPoint origin = CentredOrigin(screen, width, height);
  std::unique_ptr<TfrmSplashBitmapForm> form(new TfrmSplashBitmapForm(std::move(bitmap)));
  const RECT bounds = {origin.Left, origin.Top, origin.Left + width, origin.Top + height};
  if (!form->CreateFormWindow({kWindowClass, IDC_ARROW, kSplashStyle, caption, bounds, owner})) {
    return nullptr;
  }
  form->ShowAndPaint();
  return form;
}

LRESULT TfrmSplashBitmapForm::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:
      // Closed by the user, it only hides; start-up frees it shortly anyway.
      ShowWindow(Handle(), SW_HIDE);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(Handle(), &paint);
      DrawBitmap(dc, imgSplash_.Get());
      EndPaint(Handle(), &paint);
      return 0;
    }
    default:
      return TStartupWindow::WndProc(message, wparam, lparam);
  }
}

}  // namespace kvb
