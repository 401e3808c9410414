// TRichEditViewer: a read-only text viewer for licence and text files. With UseRichEdit
// (the default) it is a rich-edit control: version 2 from "RICHED20.DLL" (class
// "RichEdit20A") with automatic link detection, links opening with the shell's "open"
// verb when the left mouse button is released over them; else version 1 from
// "RICHED32.DLL" (class "RICHEDIT"). The library is loaded once for all viewers, from the
// system folder, and released with the last viewer. Without either library, or without
// UseRichEdit, it is a plain multi-line edit box.
#pragma once

#include <functional>
#include <string>

#include "ui/controls/memo_win.h"

namespace kvb {

class TRichEditViewer : public TMemo {
 public:
  // `use_rich_edit` is fixed for the viewer's life (it decides the window class).
  TRichEditViewer(TWindow& parent,
                  int left,
                  int top,
                  int width,
                  int height,
                  bool use_rich_edit = true);
  ~TRichEditViewer() override;

  bool UseRichEdit() const { return rich_version_ != 0; }
  // 2 or 1 for the rich-edit version in use, 0 for a plain edit box.
  int RichEditVersion() const { return rich_version_; }

  // Shows the file: rich text when it starts with "{\rtf", plain text otherwise. False
  // (and the viewer unchanged) when it cannot be read.
  bool LoadFromFile(const std::string& path) override;

  // Opens a link's text with the shell's "open" verb; tests replace it.
  std::function<void(const std::string& link)> OnOpenLink;

 protected:
  bool HandleNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;

 private:
  TRichEditViewer(TWindow& parent, int left, int top, int width, int height, int version);
  int rich_version_;
  bool acquired_;  // holds a use of the shared library
};

}  // namespace kvb
