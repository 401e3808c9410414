// TfrmSetupMain: the wizard window. It checks the package's machine requirements when it
// is created, then shows the package's pages one at a time (each a dialog record built
// into a panel, optionally inside a style panel shared by several pages), runs the page
// scripts at their moments, carries out the page commands scripts send it, and agrees
// with the package's scripts whether the setup may close.
//
// Ending the program: the form hides, remembers its exit code and posts the quit
// message, which ends every message loop on the way out (modal dialogs included); from
// then on it ignores every command.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "script/script_engine.h"
#include "setupdata/setup_data.h"
#include "ui/base/form_win.h"
#include "ui/base/panel_win.h"
#include "ui/builder/control_binding_win.h"
#include "ui/builder/dialog_builder_win.h"
#include "ui/controls/image_list_win.h"
#include "ui/installation/installation_window.h"
#include "ui/wizard/requirements.h"

namespace kvb {

class Variables;
class TfrmSetupMain;
class TfrmSecondaryDialog;
class TPSListBox;
class InstallationRun;

// What the run hands the wizard. Everything must outlive the form.
struct WizardEnvironment {
  TSetupData* Data = nullptr;
  const TSetupHeader* Header = nullptr;
  Variables* Vars = nullptr;
  TScriptEngine* Scripts = nullptr;
  // The setup program's own path (for the volume file next to it).
  std::string SetupProgramPath;
  // The application's title (caption of message boxes) and its hidden window.
  std::function<std::string()> ApplicationTitle;
  std::function<void(const std::string& title)> SetApplicationTitle;
  // The running system for the requirement checks.
  std::function<MachineFacts()> Machine;
  // The Start-menu programs folder of all users or of the current user.
  std::function<std::string(bool all_users)> ProgramsFolder;
  // The owner of the form: a background window hosting it, or none.
  HWND Owner = nullptr;
  // With a background window, closing is its decision: asked with the finishing flag,
  // true when it agreed (it has then asked the user and run the closing script through
  // the form, see wizard_back_host_win.h).
  std::function<bool(bool finishing)> CloseThroughBackWindow;

  // Seams tests replace; the real dialogs when unset.
  // A message box with an OK button and the MB_ICON... flag.
  std::function<void(const std::string& text, UINT icon)> ShowMessage;
  // The Yes/No question of the close confirmation (question icon, No the default).
  std::function<bool(const std::string& text)> AskYesNo;
  // Restarts Windows.
  std::function<void()> RestartWindows;

  // The hidden application window: owner of the copying-progress window.
  HWND Application = nullptr;
  // Creates the installation run over the form: commands 23 and 58 and the download
  // progress go to it.
  std::function<std::unique_ptr<InstallationRun>(TfrmSetupMain& form)> MakeInstallation;
  // Command 23 without an installation run (tests). Without either, the command says
  // that installing is not available and the page stays; a package without pages then
  // simply ends.
  std::function<void(TfrmSetupMain& form)> StartInstallation;
};

// The kinds of the progress display.
enum ProgressKind : int {
  kProgressStatus = 0,
  kProgressDetail = 1,
  kProgressPosition = 2,
  kProgressMaximum = 3
};

// How the wizard ended the run.
enum class WizardEnd {
  kRunning,    // not ended
  kFinished,   // closed as finished, on the last page or after the installation
  kCancelled,  // closed by the user before the end
  kFailed,     // a requirement failed, the drive could not be read, too little space
};

// The package's global script run when the setup closes.
inline constexpr int kClosingScriptSlot = 3;

inline constexpr int kMessageCloseQuestion = 7;
inline constexpr int kMessageCloseWhileInstalling = 9;
inline constexpr int kMessageDriveUnreadable = 12;
inline constexpr int kMessageSelectFolderCaption = 46;

class TfrmSetupMain : public TForm, public InstallationWindow {
 public:
  static constexpr char kWindowClass[] = "TfrmSetupMain";

  // FormCreate: creates the form hidden, registers its callbacks, checks the
  // requirements (a failure may end the run: see Ended()) and loads the component
  // pictures. Without a background window it then starts the wizard.
  explicit TfrmSetupMain(WizardEnvironment environment);
  ~TfrmSetupMain() override;

  // Shows the first page (or, without any page, installs and ends). The background
  // window calls it when it hosts the form.
  void StartWizard();

  // Leaves the current page and shows the page `name`; false when it did not.
  bool ShowPage(const std::string& name) override;
  std::string NextPageName() const;
  std::string PreviousPageName() const;
  const std::string& CurrentName() const { return current_name_; }

  // Every script command the interpreter does not handle itself.
  void PageCommandHandler(uint8_t code,
                          const std::string& p1,
                          const std::string& p2,
                          const std::string& p3);
  // Back to the page before "INSTALL" when that page stands without an installation.
  void ReturnFromInstall();
  // The list box named `name` on the open panel; null when none.
  TPSListBox* FindListControl(const std::string& name) const;
  // Free space in kilobytes on the drive of %InstallDir%; an unreadable drive runs the
  // error procedure (code "8").
  uint64_t FreeSpace() override;
  // The progress display of installations, removals and downloads: kinds 0 and 1 set
  // the texts of the status and detail labels, 2 and 3 position and maximum of the
  // progress bars of the page panel.
  void ShowProgress(int kind, const std::string& text, int value);

  // The close decision without a background window: the user's answer, then the
  // closing script. The background window asks these two itself.
  bool AskCloseConfirmation();
  bool RunClosingScript();
  // The parts the background window's close decision uses: a Yes/No question (No the
  // default), and the end of the run once the user and the closing script agreed (the
  // engine is stopped and undone, the page's leave script runs, the program ends).
  bool AskYesNo(const std::string& question);
  void CloseAgreed();
  // Restarts Windows through the seam tests replace.
  void RestartWindows();
  bool EngineRunning() const { return engine_ != nullptr; }
  const TSetupData& Data() const { return *env_.Data; }
  // The copying window while it shows the installation's progress, else null.
  HWND CopyingWindow() const;

  // The error procedure: `text` with the error icon, %ErrorCode% `code`, the error
  // script; ends the run unless the script sets %CanClose% to "0".
  void ErrorProcedure(const std::string& text, const std::string& code);

  // The finishing flag: set by the exit command, read when closing.
  bool Finishing() const { return finishing_; }
  void SetFinishing(bool finishing) { finishing_ = finishing; }
  bool Installed() const { return installed_; }
  void SetInstalled(bool installed) { installed_ = installed; }

  // What the installation run needs of the form (installation_window.h).
  HWND Handle() const override { return TForm::Handle(); }
  HWND ApplicationHandle() const override { return env_.Application; }
  std::string CurrentPageName() const override { return current_name_; }
  std::string PageBeforeInstall() const override { return page_before_install_; }
  void ShowProgress(StatusKind kind, const std::string& text, int value) override;
  void ShowForm() override { Show(); }
  void HideForm() override { Hide(); }
  void CenterOnScreen() override { TForm::CenterOnScreen(); }
  void MoveTo(int left, int top) override;
  bool HasBackWindow() const override { return env_.Owner != nullptr; }
  void ShowBackWindow(bool visible) override;
  bool RequestClose() override;
  bool ClosingAgreed() const override { return closing_ == 1; }
  void SetEngine(TKalvenbrookerInstall* engine) override { engine_ = engine; }
  void SetUninstalling(bool uninstalling) override { uninstalling_ = uninstalling; }
  uint64_t RequiredSpace() override;
  void EndProgram() override { EndProgram(WizardEnd::kFailed); }
  bool RunGlobalScript(int slot) override;

  // The run is over; the exit reason.
  bool Ended() const { return end_ != WizardEnd::kRunning; }
  WizardEnd EndReason() const { return end_; }
  // Ends the run (see the file comment).
  void EndProgram(WizardEnd reason);

  // For tests and the hosts: the page shown, its panel, the style host.
  TPanel* PagePanel() const { return page_panel_; }
  TWindow* StyleHost() const { return style_host_; }
  TfrmSecondaryDialog* SecondaryDialog() const { return secondary_; }
  TImageList& Images() { return images_; }
  TControlBinding& Binding() { return *binding_; }
  // Stores the values of the open panel's controls (command 22).
  void StoreOpenPanel();
  // The expanded text of message `number` of the current language.
  std::string Message(int number, bool escape = false) const;

 protected:
  bool CloseQuery() override;

 private:
  // FormCreate's parts.
  void CreateBinding();
  void RegisterCallbacks();
  bool CheckRequirements();
  void LoadComponentPictures();

  // ShowPage's parts.
  TWindow* StyleHostFor(const std::string& style);
  TPanel& PagePanelOn(TWindow& host, const std::string& prefix, bool& created);
  void BuildPage(const TSetupDialog& page, TPanel& panel, const std::string& prefix);
  void FocusFirstControl();
  // Runs one of a dialog's scripts; false when it stopped and %CanClose% is not "0".
  bool RunDialogScript(const TSetupDialog& dialog, DialogScript which);
  bool ScriptStopped(bool go_on) const;

  // Control binding.
  void RefreshControls(TWindow* panel,
                       bool initial,
                       const std::string& variable,
                       uint8_t role,
                       bool repaint_background);
  void VariableChanged(const std::string& name);
  void ControlEvent(TWindow& control);
  BuildCallbacks PageCallbacks();
  std::vector<TWindow*> PageControls() const;
  TWindow* OpenPanel() const;

  // Commands.
  void ShowSecondaryDialog(const std::string& name);
  void SelectDirectory(const std::string& variable);
  void StartInstallation();
  void UninstallProduct(const std::string& result_variable,
                        const std::string& software_name,
                        const std::string& company_name);
  void ListCommand(ListOperation operation, const std::string& name, const std::string& item);

  void ShowMessageBox(const std::string& text, UINT icon);
  TFontRecord DefaultFont() const;
  bool SystemFontRequested() const;
  std::string Expand(const std::string& text, bool escape = false) const;

  WizardEnvironment env_;
  std::unique_ptr<InstallationRun> installation_;
  TKalvenbrookerInstall* engine_ = nullptr;  // the running installation's engine
  std::unique_ptr<TControlBinding> binding_;
  TImageList images_;
  TFontRecord default_font_;

  TPanel* page_panel_ = nullptr;
  size_t page_panel_count_ = 0;
  TWindow* style_host_ = nullptr;
  size_t style_host_count_ = 0;
  const TSetupDialog* current_dialog_ = nullptr;
  std::string current_name_;
  std::string page_before_install_;
  bool navigated_ = false;
  bool leaving_ = false;  // the current page's leave script runs
  bool uninstalling_ = false;
  int progress_max_ = 0;
  struct StyleSpace {
    std::string Name;
    int Left, Top, Width, Height;
  };
  std::vector<StyleSpace> style_spaces_;
  TfrmSecondaryDialog* secondary_ = nullptr;
  const TSetupDialog* secondary_dialog_ = nullptr;
  bool building_ = false;
  bool in_secondary_ = false;
  int closing_ = 0;
  bool finishing_ = false;
  bool installed_ = false;
  WizardEnd end_ = WizardEnd::kRunning;
};

}  // namespace kvb
