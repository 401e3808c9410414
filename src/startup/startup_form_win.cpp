#include "startup/startup_form_win.h"

namespace kvb {

TStartupWindow::~TStartupWindow() {
  if (!window_)
    return;
  // The derived object is gone already: the last messages go to DefWindowProc.
  SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

bool TStartupWindow::CreateFormWindow(HINSTANCE instance, const WindowSpec& spec) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorA(nullptr, spec.Cursor);
  window_class.lpszClassName = spec.ClassName;
  // Fails harmlessly when the class is registered already.
  RegisterClassA(&window_class);
  const RECT& r = spec.Bounds;
  window_ =
      CreateWindowExA(0, spec.ClassName, spec.Caption.c_str(), spec.Style, r.left, r.top,
                      r.right - r.left, r.bottom - r.top, spec.Owner, nullptr, instance, this);
  return window_ != nullptr;
}

void TStartupWindow::ShowAndPaint() {
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
}

LRESULT TStartupWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(window_, message, wparam, lparam);
}

LRESULT CALLBACK TStartupWindow::WindowProc(HWND window,
                                            UINT message,
                                            WPARAM wparam,
                                            LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<TStartupWindow*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TStartupWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self)
    return DefWindowProcA(window, message, wparam, lparam);
  return self->HandleMessage(message, wparam, lparam);
}

COLORREF ColorOf(uint32_t color) {
  if (color & 0x80000000u)
    return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color & 0x00FFFFFF);
}

UniqueFont CreateRecordFont(const TFontRecord& font) {
  std::string face = font.FaceName;
  if (face.empty()) {
    LOGFONTA system{};
    if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(system), &system))
      face = system.lfFaceName;
  }
  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(static_cast<int>(font.Size), GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  return UniqueFont(CreateFontA(height, 0, 0, 0, (font.Style & 1) ? FW_BOLD : FW_NORMAL,
                                (font.Style & 2) != 0, (font.Style & 4) != 0, (font.Style & 8) != 0,
                                font.Charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH, face.c_str()));
}

void DrawBitmap(HDC dc, HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap, sizeof(info), &info))
    return;
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

}  // namespace kvb
