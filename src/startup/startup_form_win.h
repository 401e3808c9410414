// The common ground of the start-up windows: a top-level window whose messages go to a
// C++ object, and the fonts and colours of the package's font records.
#pragma once

#include <windows.h>

#include <string>

#include "setupdata/records.h"
#include "startup/gdi_object_win.h"
#include "startup/startup_host.h"

namespace kvb {

class TStartupWindow : public StartupForm {
 public:
  ~TStartupWindow() override;
  TStartupWindow(const TStartupWindow&) = delete;
  TStartupWindow& operator=(const TStartupWindow&) = delete;

  // Null when the window could not be created.
  HWND Handle() const { return window_; }

 protected:
  TStartupWindow() = default;

  struct WindowSpec {
    const char* ClassName;
    LPCSTR Cursor;  // IDC_ value of the window class
    DWORD Style;
    std::string Caption;
    RECT Bounds;  // screen rectangle of the whole window
    HWND Owner;
  };
  // Registers the class (once per process) and creates the window, hidden. False when
  // the window cannot be created.
  bool CreateFormWindow(HINSTANCE instance, const WindowSpec& spec);
  // Shows the window and paints it before returning.
  void ShowAndPaint();
  // Messages of the window; the default handling is DefWindowProc's.
  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  HWND window_ = nullptr;
};

// The Windows colour of a font record's colour: 0x00BBGGRR as is, 0x80000000 + index as
// that system colour.
COLORREF ColorOf(uint32_t color);

// A font of the record's face (the system's default face when it is empty), size in
// points, style (bold, italic, underline, strike-out) and character set.
UniqueFont CreateRecordFont(const TFontRecord& font);

// Paints `bitmap` at the top-left corner of the device context.
void DrawBitmap(HDC dc, HBITMAP bitmap);

}  // namespace kvb
