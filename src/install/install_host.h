// What the installation engine needs from the windows around it: the progress display,
// message boxes, the overwrite question, the wizard's close request, the next-disk request,
// the billboard pictures and the message pump. The wizard implements it with its real
// forms and dialogs; tests implement it with scripted fakes. The engine never creates a
// window itself.
//
// Every call is made on the user-interface thread, from inside an engine step. A call may
// re-enter the engine only through TKalvenbrookerInstall::Abort (the wizard's close
// confirmation); nothing else of the engine may be called while one of these runs.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "base/message_icon.h"

namespace kvb {

// Kinds of status report; the value is used by kPosition and kMaximum only.
enum class StatusKind : int {
  kStatusLine = 0,  // the main status line (text)
  kDetailLine = 1,  // the detail line, usually the current file (text)
  kPosition = 2,    // progress position, 0..maximum (value)
  kMaximum = 3,     // progress maximum (value)
};

// Results of the overwrite question, with the platform's modal-result values.
enum class PromptAnswer : int {
  kCancel = 2,
  kYes = 6,
  kNo = 7,
  kNoToAll = 9,
  kYesToAll = 10,
};

// Everything the five-button overwrite prompt shows, in its mode 2 (the existing file
// and the new file). Texts are final: expanded, "<file>" replaced. The prompt's caption
// is the application title, its owner the wizard form.
struct OverwritePrompt {
  std::string Message;           // the question, naming the file
  std::string YesCaption;        // message 2
  std::string YesToAllCaption;   // message 4
  std::string NoCaption;         // message 3
  std::string NoToAllCaption;    // message 5
  std::string CancelCaption;     // message 1
  std::string ExistingLabel;     // message 67
  std::string DestinationLabel;  // message 68
  std::string ExistingFile;      // full path of the file already there (size, date, icon)
  uint32_t NewFileDate = 0;      // DOS date (high word) and time (low word) of the new file
  uint32_t NewFileSize = 0;      // bytes
};

// Everything the next-disk request shows. Texts are expanded; "<disk>" is replaced in
// Prompt and in NotFoundText. OK is accepted only when Folder\<VolumeBaseName>.<disk as
// three digits> exists; otherwise the dialog shows NotFoundText with the stop icon and
// stays open.
struct DiskPrompt {
  int Disk = 0;                // number of the volume wanted (2, 3, ...)
  std::string Folder;          // preset of the path field, with a trailing backslash
  std::string VolumeBaseName;  // the setup program's file name without extension
  std::string Title;           // message 50
  std::string Prompt;          // message 51
  std::string PathLabel;       // message 52
  std::string BrowseCaption;   // message 57
  std::string OkCaption;       // message 0
  std::string CancelCaption;   // message 1
  std::string NotFoundText;    // message 20
  // Caption and the three labels of the folder browser: messages 46, 47, 48, 49.
  std::array<std::string, 4> FolderTexts;
};

class InstallHost {
 public:
  virtual ~InstallHost() = default;

  // The engine's status callback: kinds 0-3 above. The host updates its progress page
  // (or the copying-progress window) and repaints; it does not pump messages here.
  virtual void Status(StatusKind kind, const std::string& text, int value) = 0;

  // A modal message box with an OK button, the application title as caption and the
  // given icon, owned by the wizard. Returns when it has been closed.
  virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;

  // The overwrite prompt (five buttons, existing and new file). Returns the button the
  // user pressed; closing the prompt by its frame counts as kCancel.
  virtual PromptAnswer AskFileOverwrite(const OverwritePrompt& prompt) = 0;

  // The user pressed Cancel in one of the engine's prompts: the wizard closes as if its
  // own Cancel had been pressed, which asks whether to end Setup ("Setup is copying the
  // files..."). Returns true when the user agreed; the wizard then also marks the engine
  // aborted (TKalvenbrookerInstall::Abort). False: the installation goes on.
  virtual bool RequestClose() = 0;

  // The next-disk request for a multi-volume package. Returns the folder the user
  // confirmed (without trailing backslash needed; either form is accepted), or nullopt
  // when the user pressed Cancel.
  virtual std::optional<std::string> AskNextDisk(const DiskPrompt& prompt) = 0;

  // Shows the billboard picture (a bitmap file among the temporary files) in the
  // borderless picture window, created on first use, centred horizontally with its lower
  // edge 32 pixels above the wizard's top. Replaces the picture on show.
  virtual void ShowBillboard(const std::string& bitmap_file) = 0;
  // Closes the picture window, if there is one.
  virtual void CloseBillboard() = 0;

  // Dispatches the pending window messages, so that the wizard stays responsive and its
  // Cancel button can abort the engine. False once the application is quitting.
  virtual bool ProcessMessages() = 0;

  // Ends the application's message loop (the setup directories could not be created):
  // the program ends once the current step returns.
  virtual void EndApplication() = 0;
};

}  // namespace kvb
