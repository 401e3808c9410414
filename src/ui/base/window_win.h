// TWindow: a window handle bound to the C++ object that handles its messages. Every
// window of the program derives from it: forms and panels (window classes of the
// program's own) and the controls (standard Windows controls, subclassed, so that they
// keep their class names, keyboard handling and accessibility).
//
// A parent TWindow passes the notifications its children send it (WM_COMMAND, WM_NOTIFY,
// WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR..., scroll messages) back to the child's object
// (HandleNotification), so that every control handles its own events and drawing whatever
// window it sits on.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setupdata/records.h"
#include "ui/base/gdi_object_win.h"
#include "ui/base/graphics_win.h"

namespace kvb {

class TWindow;

// An event that names its sender.
using NotifyEvent = std::function<void(TWindow& sender)>;

// Keys a form hands to its default and cancel buttons.
enum class DialogKey { kEnter, kEscape };

class TWindow {
 public:
  virtual ~TWindow();
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  // The object of a window created by this class; null for any other window.
  static TWindow* FromHandle(HWND window);

  // Null before creation, when creation failed and once the window is destroyed.
  HWND Handle() const { return handle_; }
  // The TWindow this one was created on; null for top-level windows.
  TWindow* Parent() const { return parent_; }

  // A name like a component name (unique among siblings when the creator wants it).
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  // The window text: a caption, a label's or an edit box's text.
  std::string Text() const;
  virtual void SetText(const std::string& text);

  // Position and size in the parent's client area (screen for top-level windows).
  void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const;
  int Left() const { return BoundsRect().left; }
  int Top() const { return BoundsRect().top; }
  int Width() const;
  int Height() const;
  SIZE ClientSize() const;

  bool Visible() const;  // its own visible flag, whatever its parents show
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const;
  virtual void SetEnabled(bool enabled);
  // Whether the window can take the focus: shown (with its parents), enabled, a tab stop.
  bool CanFocus() const;
  void SetFocus();
  bool Focused() const;
  void Invalidate();
  // Invalidates and paints at once.
  void Repaint();

  // The window's font: a copy of the record and the font made from it. A window created
  // on a TWindow starts with its parent's font record.
  const TFontRecord& Font() const { return font_record_; }
  virtual void SetFont(const TFontRecord& font);
  HFONT FontHandle() const { return font_.Get(); }
  // The font to draw the window's text with: its own, else the system's dialog font.
  HFONT DrawingFont() const;
  // Width and height of one line of `text` in DrawingFont().
  SIZE MeasureText(const std::string& text) const;
  COLORREF FontColor() const;

  // Background colour in the package's encoding (see graphics_win.h). Controls answer
  // their WM_CTLCOLOR... notification with it and the font's colour.
  uint32_t Color() const { return color_; }
  void SetColor(uint32_t color);
  HBRUSH ColorBrush() const { return brush_.Get(); }

  // The TWindows created on this one, in creation order.
  size_t ControlCount() const { return children_.size(); }
  TWindow* Control(size_t index) const { return children_[index]; }
  // The first child whose name equals `name`, compared case-insensitively; null if none.
  TWindow* FindControl(std::string_view name) const;

  // Makes this window the owner of `window`: owned windows are destroyed before their
  // owner (as forms own their controls). Returns the window.
  template <typename T>
  T& Own(std::unique_ptr<T> window) {
    T& result = *window;
    owned_.push_back(std::move(window));
    return result;
  }
  // Destroys an owned window now; false when `window` is not owned by this one.
  bool Free(TWindow* window);
  // Shows every window created on this one (forms show their controls once all are made).
  void ShowControls();

  // Default and cancel buttons answer Enter and Escape for the whole form.
  virtual bool AnswersDialogKey(DialogKey key) const { return false; }
  // The control's click, as the user's (buttons); nothing by default.
  virtual void Click() {}

 protected:
  TWindow() = default;

  struct CreateParams {
    const char* ClassName = nullptr;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    std::string Text = {};
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    TWindow* Parent = nullptr;    // the parent (child windows) or owner (top-level windows)
    HWND ParentHandle = nullptr;  // used when Parent is null
    HCURSOR Cursor = nullptr;     // own window classes: the class cursor (arrow when null)
    int Id = 0;                   // child windows: the control identifier (0: the next free one)
  };
  // Creates a window of a class of the program's own, registered on first use with this
  // class's window procedure. False when it cannot be created.
  bool CreateOwnWindow(const CreateParams& params);
  // Creates a window of a standard class and subclasses it; messages the object does not
  // handle go to the class's own procedure. False when it cannot be created.
  bool CreateControlWindow(const CreateParams& params);
  // Destroys the window and creates it again with `style` (for styles a control reads
  // only when created), keeping its bounds, text, font, visibility, enabled state and
  // position among its siblings. SaveWindowState runs before, RestoreWindowState after.
  bool RecreateWindow(DWORD style);
  // Destroys the window now, before the object (for controls whose window class lives in
  // a library the object releases).
  void DestroyHandle();
  virtual void SaveWindowState() {}
  virtual void RestoreWindowState() {}

  // The object's message handler; the default handles reflection and background
  // colours and passes everything else to DefaultHandler.
  virtual LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam);
  // DefWindowProc for own classes, the class's procedure for subclassed controls.
  LRESULT DefaultHandler(UINT message, WPARAM wparam, LPARAM lparam);
  // A notification the parent received from this window. Returns true with `result` set
  // when the window handled it. The default answers WM_CTLCOLOR... with the window's
  // colour and font colour.
  virtual bool HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
  // For HandleNotification: when `message` is the WM_COMMAND notification `code`, raises
  // `event` (when set) and returns true with `result` 0.
  bool RaiseOnCommand(UINT message,
                      WPARAM wparam,
                      WORD code,
                      const NotifyEvent& event,
                      LRESULT& result);
  // Paints the client background in the window's colour (own classes: WM_ERASEBKGND and
  // WM_PRINTCLIENT); controls paint what they draw on top in WndProc.
  virtual void PaintBackground(HDC dc);
  // For controls that paint all of their client area themselves: WM_PAINT and
  // WM_PRINTCLIENT call `paint` with the DC to draw on, WM_ERASEBKGND does nothing (the
  // paint covers it). The message's result, or nullopt for any other message.
  std::optional<LRESULT> HandlePaintMessage(UINT message,
                                            WPARAM wparam,
                                            const std::function<void(HDC)>& paint);

 private:
  static LRESULT CALLBACK StaticWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  bool CreateWindowFrom(const CreateParams& params, bool subclass);
  void Attach(HWND window);
  void Detach();
  void ApplyFont();
  static HWND NotifyingChild(HWND parent, UINT message, WPARAM wparam, LPARAM lparam);

  HWND handle_ = nullptr;
  WNDPROC class_proc_ = nullptr;  // subclassed controls: the class's own procedure
  bool subclassed_ = false;
  CreateParams params_;  // kept for RecreateWindow
  TWindow* parent_ = nullptr;
  std::vector<TWindow*> children_;
  std::vector<std::unique_ptr<TWindow>> owned_;
  std::string name_;
  TFontRecord font_record_;
  UniqueFont font_;
  uint32_t color_ = kClBtnFace;
  UniqueBrush brush_;
};

}  // namespace kvb
