// Support of the Win32 tests of the windows: a visible host form, message pumping,
// pictures of what a window shows on the screen, scratch folders.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ui/base/form_win.h"

namespace kvb::test {

// Dispatches the messages waiting for this thread (paints included).
inline void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// A visible form at the screen's top-left corner for controls under test.
class HostForm : public TForm {
 public:
  HostForm()
      : TForm({.ClassName = "KvbTestHost",
               .Caption = "Test host",
               .ClientWidth = 400,
               .ClientHeight = 300,
               .Font = {"MS Sans Serif", 8, kClWindowText, 0, 1}}) {
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    Pump();
  }
};

// What a window shows on the screen, pixel by pixel (client coordinates).
class Picture {
 public:
  explicit Picture(HWND window) {
    RedrawWindow(GetAncestor(window, GA_ROOT), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    RECT client;
    GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width_, height_);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width_, height_, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    pixels_.resize(static_cast<size_t>(width_ * height_));
    GetDIBits(memory, bitmap, 0, height_, pixels_.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
  }

  int Width() const { return width_; }
  int Height() const { return height_; }
  COLORREF At(int x, int y) const {
    const uint32_t p = pixels_[static_cast<size_t>(y * width_ + x)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  // Whether any pixel of the rectangle has the colour.
  bool Contains(const RECT& r, COLORREF colour) const {
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        if (At(x, y) == colour)
          return true;
      }
    }
    return false;
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};

// Steps that act on modal windows while a modal run (or a message box) goes on: each
// step waits until a visible top-level window of its class exists, then acts on it
// (typically posting a click). A thread timer looks every few milliseconds; the steps
// run inside whatever message loop is running.
class ModalScript {
 public:
  struct Step {
    std::string WindowClass;
    std::function<void(HWND window)> Action;
  };
  explicit ModalScript(std::vector<Step> steps) : steps_(std::move(steps)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 5, Tick);
  }
  ~ModalScript() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  ModalScript(const ModalScript&) = delete;
  ModalScript& operator=(const ModalScript&) = delete;

  // The number of steps that ran.
  size_t Done() const { return next_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalScript* script = current_;
    if (!script || script->running_ || script->next_ >= script->steps_.size())
      return;
    const Step& step = script->steps_[script->next_];
    HWND window = FindWindowA(step.WindowClass.c_str(), nullptr);
    if (!window || !IsWindowVisible(window) || !IsWindowEnabled(window))
      return;
    script->running_ = true;
    ++script->next_;
    step.Action(window);
    script->running_ = false;
  }

  static inline ModalScript* current_ = nullptr;
  std::vector<Step> steps_;
  size_t next_ = 0;
  bool running_ = false;
  UINT_PTR timer_ = 0;
};

struct TextSearch {
  const std::string* Text;
  HWND Found;
};

inline BOOL CALLBACK MatchText(HWND child, LPARAM data) {
  auto* search = reinterpret_cast<TextSearch*>(data);
  char buffer[512] = {};
  GetWindowTextA(child, buffer, sizeof(buffer));
  if (*search->Text != buffer)
    return TRUE;
  search->Found = child;
  return FALSE;
}

// The first child (at any depth) showing `text`, or null.
inline HWND ChildWithText(HWND parent, const std::string& text) {
  TextSearch search{&text, nullptr};
  EnumChildWindows(parent, MatchText, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

// Presses the button showing `caption` as the user's click does (posted).
inline void Press(HWND window, const std::string& caption) {
  PostMessageA(ChildWithText(window, caption), BM_CLICK, 0, 0);
}

// A child's rectangle in its parent's client coordinates.
inline RECT ChildBounds(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// A fresh folder under the temporary folder, removed with its content.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name) {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    path_ = std::string(base) + "kvb-ui-" + name + "-" + std::to_string(GetCurrentProcessId());
    Remove(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~ScratchFolder() { Remove(path_); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  static void Remove(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }

  std::string path_;
};

}  // namespace kvb::test
