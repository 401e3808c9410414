// TfrmBackWindow: the setup's main window when the package asks for a background window.
// It covers the screen (or seven eighths of it) with the package's background colours,
// gradient or picture, draws the background items in the four corners and lets them
// slide in once, keeps the wizard form in front of it, and decides with the package's
// closing script whether the setup may end.
//
// Use, at the end of start-up:
//   1. Create the window: it shows itself and paints (the slide-in runs at the next
//      paint, from the message loop).
//   2. Create the wizard form with this window as its owner and call HostWizard.
//   3. Start the wizard. When it has already agreed to close, end the run; otherwise
//      run the message loop until OnClosed is called.
// The wizard's FormCloseQuery calls CloseForWizard instead of deciding itself.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "setupdata/records.h"
#include "ui/back/back_close.h"
#include "ui/back/back_scene_win.h"
#include "ui/base/form_win.h"
#include "vars/variables.h"

namespace kvb {

// What the background window needs of the wizard it hosts: the close decision's questions
// (BackCloseHost) and the windows the wizard shows in front of itself.
class BackWindowHost : public BackCloseHost {
 public:
  // The wizard's open secondary dialog, or null.
  virtual HWND SecondaryDialog() = 0;
  // The wizard's copying-progress window, or null.
  virtual HWND CopyingForm() = 0;
};

class TfrmBackWindow : public TForm {
 public:
  static constexpr char kWindowClass[] = "TfrmBackWindow";

  // Creates the window with the expanded title as caption, sized by BackFlag (0 maximised,
  // 1 borderless over the whole screen, 2 centred at seven eighths of it), and shows it.
  // `items` are the package's background items: their Reserved field is set as each is
  // shown. The records and the store must outlive the window.
  TfrmBackWindow(const TSetupProperties& properties,
                 std::vector<TSetupBackItem>& items,
                 Variables& vars);
  ~TfrmBackWindow() override;

  // Hosts the wizard form `wizard` (a top-level window owned by this one): topmost without
  // moving, sizing or activating it, caption only (no system menu, so no close box),
  // centred over this window. From now on closing is decided through `host`, which must
  // outlive this window.
  void HostWizard(HWND wizard, BackWindowHost& host);
  bool WizardReady() const { return wizard_ready_; }

  BackClosingMark ClosingMark() const { return closing_; }
  // The wizard's close request: agreed at once when this window has already agreed;
  // otherwise this window is asked to close (a finishing close when `finishing`) and the
  // result is whether it agreed.
  bool CloseForWizard(bool finishing);
  // Called once closing has been agreed and the window has hidden: the run ends.
  std::function<void()> OnClosed;

  // Whether the slide-in pass has run.
  bool ItemsAnimated() const { return items_animated_; }

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  bool CloseQuery() override;

 private:
  // The stages of the first paints.
  enum PaintStage { kFirstShow = -1, kBeforeSlideIn = 0, kPainted = 1 };

  // The items measured on `dc` and where each stands (skipped items stand nowhere).
  struct Layout {
    std::vector<PreparedBackItem> Items;
    std::vector<BackPoint> Positions;
  };

  void ApplyBounds();
  Layout LayOut(HDC dc);
  // Expands the item captions again; true when any of them changed.
  bool ExpandCaptions();
  std::string TempFolder();
  // Paints the background and every item shown so far through the buffer.
  void PaintScene(HDC dc);
  // Draws the background and the shown items into the buffer, made for the client size.
  HDC FillBuffer(HDC dc);
  void SlideIn();
  // Slides one item from its start to `target`; false when the run is ending.
  bool SlideItem(HDC dc, const PreparedBackItem& item, BackPoint target);
  void Activated(bool application);
  void PlaceFrontWindows();

  const TSetupProperties& properties_;
  std::vector<TSetupBackItem>& items_;
  Variables& vars_;
  UniquePalette palette_;
  std::vector<std::string> captions_;  // the items' captions as last expanded
  std::unique_ptr<OffscreenCanvas> buffer_;  // background and shown items
  bool buffer_stale_ = true;                 // the buffer is made anew at the next paint
  PaintStage paint_stage_ = kFirstShow;
  bool items_animated_ = false;
  HWND wizard_ = nullptr;
  BackWindowHost* host_ = nullptr;
  bool wizard_ready_ = false;
  BackClosingMark closing_ = kBackOpen;
};

}  // namespace kvb
