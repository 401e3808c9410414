#include "ui/base/window_win.h"

#include <algorithm>

#include "base/text.h"

namespace kvb {

namespace {

constexpr char kObjectProperty[] = "KvbWindowObject";
// Identifiers of child controls start here, away from IDOK, IDCANCEL and their kin, so
// that the dialog manager's Enter and Escape commands never look like a control's.
constexpr int kFirstControlId = 100;

HINSTANCE Instance() {
  return GetModuleHandleA(nullptr);
}

bool IsColorMessage(UINT message) {
  return message == WM_CTLCOLORBTN || message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX ||
         message == WM_CTLCOLORSTATIC;
}

// A free identifier among the children of `parent`.
int FreeControlId(HWND parent) {
  int id = kFirstControlId;
  while (parent && GetDlgItem(parent, id))
    ++id;
  return id;
}

}  // namespace

TWindow::~TWindow() {
  while (!owned_.empty())
    owned_.pop_back();
  for (TWindow* child : children_)
    child->parent_ = nullptr;
  if (parent_)
    std::erase(parent_->children_, this);
  // The derived object is gone already: the last messages go to the class's procedure.
  DestroyHandle();
}

void TWindow::DestroyHandle() {
  if (!handle_)
    return;
  HWND window = handle_;
  if (subclassed_)
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(class_proc_));
  Detach();
  DestroyWindow(window);
}

TWindow* TWindow::FromHandle(HWND window) {
  if (!window)
    return nullptr;
  return static_cast<TWindow*>(GetPropA(window, kObjectProperty));
}

std::string TWindow::Text() const {
  if (!handle_)
    return {};
  std::string text(static_cast<size_t>(GetWindowTextLengthA(handle_)) + 1, '\0');
  text.resize(
      static_cast<size_t>(GetWindowTextA(handle_, text.data(), static_cast<int>(text.size()))));
  return text;
}

void TWindow::SetText(const std::string& text) {
  if (handle_)
    SetWindowTextA(handle_, text.c_str());
}

void TWindow::SetBounds(int left, int top, int width, int height) {
  if (handle_)
    MoveWindow(handle_, left, top, width, height, TRUE);
}

RECT TWindow::BoundsRect() const {
  RECT r{};
  if (!handle_)
    return r;
  GetWindowRect(handle_, &r);
  if (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD)
    MapWindowPoints(nullptr, GetParent(handle_), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int TWindow::Width() const {
  const RECT r = BoundsRect();
  return r.right - r.left;
}

int TWindow::Height() const {
  const RECT r = BoundsRect();
  return r.bottom - r.top;
}

SIZE TWindow::ClientSize() const {
  RECT r{};
  if (handle_)
    GetClientRect(handle_, &r);
  return {r.right, r.bottom};
}

bool TWindow::Visible() const {
  return handle_ && (GetWindowLongA(handle_, GWL_STYLE) & WS_VISIBLE);
}

void TWindow::SetVisible(bool visible) {
  if (!handle_ || visible == Visible())
    return;
  const bool child = GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD;
  ShowWindow(handle_, !visible ? SW_HIDE : child ? SW_SHOWNA : SW_SHOW);
}

bool TWindow::Enabled() const {
  return handle_ && IsWindowEnabled(handle_);
}

void TWindow::SetEnabled(bool enabled) {
  if (handle_)
    EnableWindow(handle_, enabled);
}

bool TWindow::CanFocus() const {
  return handle_ && IsWindowVisible(handle_) && IsWindowEnabled(handle_) &&
         (GetWindowLongA(handle_, GWL_STYLE) & WS_TABSTOP);
}

void TWindow::SetFocus() {
  if (handle_)
    ::SetFocus(handle_);
}

bool TWindow::Focused() const {
  return handle_ && GetFocus() == handle_;
}

void TWindow::Invalidate() {
  if (handle_)
    InvalidateRect(handle_, nullptr, TRUE);
}

void TWindow::Repaint() {
  if (!handle_)
    return;
  RedrawWindow(handle_, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void TWindow::SetFont(const TFontRecord& font) {
  font_record_ = font;
  ApplyFont();
  Invalidate();
}

HFONT TWindow::DrawingFont() const {
  return font_ ? font_.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

SIZE TWindow::MeasureText(const std::string& text) const {
  HDC dc = GetDC(handle_);
  SIZE size;
  {
    SelectedObject font(dc, DrawingFont());
    size = TextExtent(dc, text);
  }
  ReleaseDC(handle_, dc);
  return size;
}

COLORREF TWindow::FontColor() const {
  return ColorOf(font_record_.Color);
}

void TWindow::SetColor(uint32_t color) {
  color_ = color;
  brush_.Reset(CreateSolidBrush(ColorOf(color)));
  Invalidate();
}

TWindow* TWindow::FindControl(std::string_view name) const {
  for (TWindow* child : children_) {
    if (SameText(child->name_, name))
      return child;
  }
  return nullptr;
}

bool TWindow::Free(TWindow* window) {
  auto it = std::find_if(owned_.begin(), owned_.end(),
                         [window](const std::unique_ptr<TWindow>& w) { return w.get() == window; });
  if (it == owned_.end())
    return false;
  owned_.erase(it);
  return true;
}

void TWindow::ShowControls() {
  for (TWindow* child : children_)
    child->Show();
}

bool TWindow::CreateOwnWindow(const CreateParams& params) {
  WNDCLASSA window_class{};
  if (!GetClassInfoA(Instance(), params.ClassName, &window_class)) {
    window_class.style = CS_DBLCLKS;
    window_class.lpfnWndProc = StaticWndProc;
    window_class.hInstance = Instance();
    window_class.hCursor = params.Cursor ? params.Cursor : LoadCursorA(nullptr, IDC_ARROW);
    window_class.lpszClassName = params.ClassName;
    RegisterClassA(&window_class);
  }
  return CreateWindowFrom(params, false);
}

bool TWindow::CreateControlWindow(const CreateParams& params) {
  return CreateWindowFrom(params, true);
}

bool TWindow::CreateWindowFrom(const CreateParams& params, bool subclass) {
  const bool first = params_.ClassName == nullptr;
  params_ = params;
  HWND parent = params.Parent ? params.Parent->Handle() : params.ParentHandle;
  const bool child = params.Style & WS_CHILD;
  if (child && params_.Id == 0)
    params_.Id = FreeControlId(parent);
  if (first && params.Parent) {
    parent_ = params.Parent;
    parent_->children_.push_back(this);
    if (child) {
      font_record_ = parent_->font_record_;
      SetColor(parent_->color_);
    }
  }
  if (!brush_)
    SetColor(color_);
  HMENU menu = child ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(params_.Id)) : nullptr;
  HWND window = CreateWindowExA(params.ExStyle, params.ClassName, params.Text.c_str(), params.Style,
                                params.Left, params.Top, params.Width, params.Height, parent, menu,
                                Instance(), subclass ? nullptr : this);
  if (!window)
    return false;
  subclassed_ = subclass;
  if (subclass) {
    Attach(window);
    class_proc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StaticWndProc)));
  }
  ApplyFont();
  return true;
}

bool TWindow::RecreateWindow(DWORD style) {
  if (!handle_)
    return false;
  SaveWindowState();
  CreateParams params = params_;
  const RECT bounds = BoundsRect();
  params.Left = bounds.left;
  params.Top = bounds.top;
  params.Width = bounds.right - bounds.left;
  params.Height = bounds.bottom - bounds.top;
  params.Text = Text();
  params.Style = style & ~WS_VISIBLE;
  const bool visible = Visible();
  const bool enabled = Enabled();
  HWND previous = GetWindow(handle_, GW_HWNDPREV);
  DestroyHandle();
  if (!CreateWindowFrom(params, subclassed_))
    return false;
  SetWindowPos(handle_, previous ? previous : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EnableWindow(handle_, enabled);
  SetVisible(visible);
  RestoreWindowState();
  return true;
}

void TWindow::Attach(HWND window) {
  handle_ = window;
  SetPropA(window, kObjectProperty, this);
}

void TWindow::Detach() {
  if (handle_)
    RemovePropA(handle_, kObjectProperty);
  handle_ = nullptr;
}

void TWindow::ApplyFont() {
  if (font_record_.FaceName.empty() && font_record_.Size == 0)
    return;
  UniqueFont font = CreateRecordFont(font_record_);
  if (handle_)
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
  // The window uses the new font before the old one is deleted.
  font_ = std::move(font);
}

LRESULT CALLBACK TWindow::StaticWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    if (self)
      self->Attach(window);
  }
  TWindow* self = FromHandle(window);
  if (!self)
    return DefWindowProcA(window, message, wparam, lparam);
  const LRESULT result = self->WndProc(message, wparam, lparam);
  if (message == WM_NCDESTROY)
    self->Detach();
  return result;
}

LRESULT TWindow::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (HWND child = NotifyingChild(handle_, message, wparam, lparam)) {
    if (TWindow* control = FromHandle(child)) {
      LRESULT result = 0;
      if (control->HandleNotification(message, wparam, lparam, result))
        return result;
    }
  }
  if (!subclassed_) {
    switch (message) {
      case WM_ERASEBKGND:
        PaintBackground(reinterpret_cast<HDC>(wparam));
        return 1;
      case WM_PRINTCLIENT:
        PaintBackground(reinterpret_cast<HDC>(wparam));
        return 0;
    }
  }
  return DefaultHandler(message, wparam, lparam);
}

LRESULT TWindow::DefaultHandler(UINT message, WPARAM wparam, LPARAM lparam) {
  if (subclassed_)
    return CallWindowProcA(class_proc_, handle_, message, wparam, lparam);
  return DefWindowProcA(handle_, message, wparam, lparam);
}

bool TWindow::HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  if (!IsColorMessage(message))
    return false;
  HDC dc = reinterpret_cast<HDC>(wparam);
  SetTextColor(dc, FontColor());
  SetBkColor(dc, ColorOf(color_));
  result = reinterpret_cast<LRESULT>(brush_.Get());
  return true;
}

bool TWindow::RaiseOnCommand(UINT message,
                             WPARAM wparam,
                             WORD code,
                             const NotifyEvent& event,
                             LRESULT& result) {
  if (message != WM_COMMAND || HIWORD(wparam) != code)
    return false;
  if (event)
    event(*this);
  result = 0;
  return true;
}

void TWindow::PaintBackground(HDC dc) {
  RECT client;
  GetClientRect(handle_, &client);
  FillRect(dc, &client, brush_.Get());
}

std::optional<LRESULT> TWindow::HandlePaintMessage(UINT message,
                                                   WPARAM wparam,
                                                   const std::function<void(HDC)>& paint) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(handle_, &ps);
      paint(dc);
      EndPaint(handle_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(wparam));
      return 0;
  }
  return std::nullopt;
}

HWND TWindow::NotifyingChild(HWND parent, UINT message, WPARAM wparam, LPARAM lparam) {
  HWND child = nullptr;
  switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
      child = reinterpret_cast<HWND>(lparam);
      break;
    case WM_NOTIFY:
      child = reinterpret_cast<NMHDR*>(lparam)->hwndFrom;
      break;
    case WM_DRAWITEM:
      if (wparam)
        child = reinterpret_cast<DRAWITEMSTRUCT*>(lparam)->hwndItem;
      break;
    case WM_MEASUREITEM:
      if (wparam)
        child = GetDlgItem(parent,
                           static_cast<int>(reinterpret_cast<MEASUREITEMSTRUCT*>(lparam)->CtlID));
      break;
    case WM_DELETEITEM:
      child = reinterpret_cast<DELETEITEMSTRUCT*>(lparam)->hwndItem;
      break;
    case WM_COMPAREITEM:
      child = reinterpret_cast<COMPAREITEMSTRUCT*>(lparam)->hwndItem;
      break;
  }
  return child == parent ? nullptr : child;
}

}  // namespace kvb
