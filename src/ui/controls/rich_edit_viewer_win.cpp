#include "ui/controls/rich_edit_viewer_win.h"

#include <richedit.h>
#include <shellapi.h>

#include <fstream>
#include <iterator>

#include "base/system_library_win.h"

namespace kvb {

namespace {

// The rich-edit library, shared by all viewers: loaded by the first, released with the
// last.
struct RichEditLibrary {
  SystemLibrary Library;
  int Version = 0;
  int Users = 0;
};

RichEditLibrary& SharedLibrary() {
  static RichEditLibrary shared;
  return shared;
}

int AcquireRichEdit() {
  RichEditLibrary& shared = SharedLibrary();
  if (shared.Users++ == 0) {
    shared.Library = SystemLibrary("riched20.dll");
    shared.Version = 2;
    if (!shared.Library.Loaded()) {
      shared.Library = SystemLibrary("riched32.dll");
      shared.Version = shared.Library.Loaded() ? 1 : 0;
    }
  }
  return shared.Version;
}

void ReleaseRichEdit() {
  RichEditLibrary& shared = SharedLibrary();
  if (--shared.Users == 0) {
    shared.Library = SystemLibrary();
    shared.Version = 0;
  }
}

const char* WindowClass(int version) {
  return version == 2 ? "RichEdit20A" : version == 1 ? "RICHEDIT" : "EDIT";
}

// Feeds a text to EM_STREAMIN.
struct StreamSource {
  const std::string* Text;
  size_t Offset;
};

DWORD CALLBACK ReadStream(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read) {
  auto* source = reinterpret_cast<StreamSource*>(cookie);
  const size_t left = source->Text->size() - source->Offset;
  const size_t count = left < static_cast<size_t>(size) ? left : static_cast<size_t>(size);
  std::copy_n(source->Text->data() + source->Offset, count, buffer);
  source->Offset += count;
  *read = static_cast<LONG>(count);
  return 0;
}

}  // namespace

TRichEditViewer::TRichEditViewer(TWindow& parent,
                                 int left,
                                 int top,
                                 int width,
                                 int height,
                                 bool use_rich_edit)
    : TRichEditViewer(parent, left, top, width, height, use_rich_edit ? AcquireRichEdit() : -1) {}

TRichEditViewer::TRichEditViewer(TWindow& parent,
                                 int left,
                                 int top,
                                 int width,
                                 int height,
                                 int version)
    : TMemo(parent, left, top, width, height, {WindowClass(version), ES_READONLY}),
      rich_version_(version < 0 ? 0 : version),
      acquired_(version >= 0) {
  if (rich_version_ == 2 && Handle()) {
    SendMessageA(Handle(), EM_AUTOURLDETECT, TRUE, 0);
    SendMessageA(Handle(), EM_SETEVENTMASK, 0, ENM_LINK);
  }
}

TRichEditViewer::~TRichEditViewer() {
  // The window class belongs to the library: the window goes first.
  DestroyHandle();
  if (acquired_)
    ReleaseRichEdit();
}

bool TRichEditViewer::LoadFromFile(const std::string& path) {
  if (rich_version_ == 0)
    return TMemo::LoadFromFile(path);
  std::ifstream file(path, std::ios::binary);
  if (!file)
    return false;
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  StreamSource source{&text, 0};
  EDITSTREAM stream{};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
  stream.pfnCallback = ReadStream;
  const WPARAM format = text.rfind("{\\rtf", 0) == 0 ? SF_RTF : SF_TEXT;
  SendMessageA(Handle(), EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
  return true;
}

bool TRichEditViewer::HandleNotification(UINT message,
                                         WPARAM wparam,
                                         LPARAM lparam,
                                         LRESULT& result) {
  if (message != WM_NOTIFY || reinterpret_cast<NMHDR*>(lparam)->code != EN_LINK)
    return TMemo::HandleNotification(message, wparam, lparam, result);
  const auto* link = reinterpret_cast<ENLINK*>(lparam);
  if (link->msg == WM_LBUTTONUP) {
    const LONG length = link->chrg.cpMax - link->chrg.cpMin;
    std::string text(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
    TEXTRANGEA range{link->chrg, text.data()};
    text.resize(static_cast<size_t>(
        SendMessageA(Handle(), EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range))));
    if (OnOpenLink)
      OnOpenLink(text);
    else
      ShellExecuteA(Handle(), "open", text.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }
  result = 0;
  return true;
}

}  // namespace kvb
