#include "startup/loader_form_win.h"

#include "startup/startup_layout.h"

namespace kvb {

namespace {

constexpr COLORREF kPlainBackground = RGB(11, 42, 91);
// Where the two lines sit on the 300 x 110 bitmap.
constexpr RECT kTitleBounds = {12, 12, 288, 30};
constexpr RECT kMessageBounds = {12, 40, 288, 98};

}  // namespace

TfrmSetupLoader::TfrmSetupLoader(HINSTANCE instance, HWND owner, const LoaderLook& look) {
  const RECT bounds = {look.Left, look.Top, look.Left + kLoaderWidth, look.Top + kLoaderHeight};
  if (!CreateFormWindow(
          {kWindowClass, IDC_WAIT, WS_POPUP | WS_CLIPSIBLINGS, look.Caption, bounds, owner})) {
    return;
  }
  FormCreate(instance, look);
  ShowAndPaint();
}

void TfrmSetupLoader::FormCreate(HINSTANCE instance, const LoaderLook& look) {
  imlLoader_.Reset(LoadBitmapA(instance, "Loader"));
  font_ = CreateRecordFont(look.Font);
  text_color_ = ColorOf(look.Font.Color);
  lblTitle_ = CreateLabel(instance, kTitleId, look.Title, SS_LEFTNOWORDWRAP, kTitleBounds);
  lblMessage_ = CreateLabel(instance, kMessageId, look.Message, SS_CENTER, kMessageBounds);
}

HWND TfrmSetupLoader::CreateLabel(HINSTANCE instance,
                                  int id,
                                  const std::string& text,
                                  DWORD style,
                                  RECT bounds) {
  HWND label =
      CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | style, bounds.left,
                      bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, Handle(),
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (label && font_)
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  return label;
}

void TfrmSetupLoader::FormPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(Handle(), &paint);
  if (imlLoader_) {
    DrawBitmap(dc, imlLoader_.Get());
  } else {
    HBRUSH brush = CreateSolidBrush(kPlainBackground);
    RECT client;
    GetClientRect(Handle(), &client);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
  }
  EndPaint(Handle(), &paint);
}

LRESULT TfrmSetupLoader::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:
      return 0;  // the user cannot close it
    case WM_ERASEBKGND:
      return 1;  // FormPaint covers the whole form
    case WM_PAINT:
      FormPaint();
      return 0;
    case WM_SETCURSOR:
      // Over the labels too: the whole form shows the hourglass.
      SetCursor(LoadCursorA(nullptr, IDC_WAIT));
      return TRUE;
    case WM_CTLCOLORSTATIC: {
      // Transparent labels: the text goes straight onto the bitmap.
      HDC dc = reinterpret_cast<HDC>(wparam);
      SetTextColor(dc, text_color_);
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetStockObject(HOLLOW_BRUSH));
    }
    default:
      return TStartupWindow::WndProc(message, wparam, lparam);
  }
}

}  // namespace kvb
