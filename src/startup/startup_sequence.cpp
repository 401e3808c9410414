#include "startup/startup_sequence.h"

#include <array>
#include <exception>

#include "setupdata/archive_reader.h"
#include "setupdata/byte_reader.h"
#include "setupdata/certificate_table.h"
#include "setupdata/messages.h"
#include "setupdata/section_reader.h"
#include "startup/exit_codes.h"
#include "startup/startup_layout.h"
#include "startup/temp_folder.h"
#include "vars/variable_loading.h"

namespace kvb {

namespace {

// The sections read once the loader shows, in this order.
constexpr std::array<int, 9> kRemainingSections = {
    kSectionPlatforms, kSectionComponents,  kSectionBillboards, kSectionScripts,   kSectionDialogs,
    kSectionFolders,   kSectionDeviceFiles, kSectionShortcuts,  kSectionRegChanges};

int ExitCodeOf(MainFormEnd end) {
  switch (end) {
    case MainFormEnd::kCancelled:
      return kExitCancelledByUser;
    case MainFormEnd::kFailed:
      return kExitWizardFailed;
    case MainFormEnd::kFinished:
      break;
  }
  return kExitNormal;
}

}  // namespace

TSetupStartup::~TSetupStartup() {
  CloseStartupForms();
  FreeSetupData(globals_, host_);
}

int TSetupStartup::Run() {
  InitApplication();
  const PackageState state = ReadPackageHeader();
  if (state == PackageState::kUnreadable)
    return EndRun(kInternalErrorText, MessageIcon::kStop, kExitInternalError);
  if (state == PackageState::kDamaged || !CheckMagic())
    return EndRun(kCorruptedDataText, MessageIcon::kStop, kExitCorruptedData);
  try {
    return RunPackage();
  } catch (const FormatError&) {
    return EndRun(kCorruptedDataText, MessageIcon::kStop, kExitCorruptedData);
  } catch (const ArchiveError&) {
    return EndRun(kCorruptedDataText, MessageIcon::kStop, kExitCorruptedData);
  } catch (const TempFileError&) {
    return EndRun(kInternalErrorText, MessageIcon::kStop, kExitInternalError);
  } catch (const std::exception&) {
    return EndRun(kInternalErrorText, MessageIcon::kStop, kExitInternalError);
  }
}

void TSetupStartup::InitApplication() {
  host_.SetTitle(kApplicationTitle);
}

TSetupStartup::PackageState TSetupStartup::ReadPackageHeader() {
  std::unique_ptr<ByteSource> file = host_.OpenOwnFile();
  if (!file)
    return PackageState::kUnreadable;
  // A signed setup carries its certificate table behind the package; from here on the
  // file reads as the package alone.
  try {
    globals_.SetupFileStream = OpenPackageView(std::move(file));
  } catch (const CertificateTableError&) {
    return PackageState::kDamaged;
  } catch (const FormatError&) {
    return PackageState::kUnreadable;
  }
  return ReadSetupData(*globals_.SetupFileStream, globals_.Header) ? PackageState::kReadable
                                                                   : PackageState::kUnreadable;
}

bool TSetupStartup::CheckMagic() const {
  return globals_.Header.Trailer.Magic == kSetupMagic;
}

int TSetupStartup::RunPackage() {
  if (!InitSetupGlobals())
    return EndRun(kInternalErrorText, MessageIcon::kStop, kExitInternalError);
  ReadPackageTexts();
  if (std::optional<int> exit_code = CheckRequiredSoftware())
    return *exit_code;
  ReadSection(kSectionTempFiles);
  SetPackageTitle();
  ShowLoader();
  ExtractTempFiles(TempFilePass::kSplashOnly);
  ShowSplash();
  ReadRemainingSections();
  InitRuntimeVariables();
  SetPackageTitle();
  ExtractTempFiles(TempFilePass::kOtherFiles);
  CloseStartupForms();
  int exit_code = kExitStoppedByScript;
  if (RunStartupScript()) {
    ReadBackItems();
    exit_code = ExitCodeOf(host_.RunMainForm(globals_));
  }
  FreeSetupData(globals_, host_);
  return exit_code;
}

bool TSetupStartup::InitSetupGlobals() {
  globals_.Data = TSetupData{};
  globals_.TempFileList.clear();
  globals_.DefaultLanguage.clear();
  TSetupData first_read;
  LoadSoftwareInfo(*globals_.SetupFileStream, globals_.Header, first_read);
  globals_.Vars = std::make_unique<Variables>(&host_.Machine());
  ApplySetupProperties(*globals_.Vars, first_read.Properties);
  InstallVariableHooks();
  globals_.TempSetupDir = CreateTempSetupFolder(host_);
  globals_.Vars->TempSetupDir = globals_.TempSetupDir;
  return !globals_.TempSetupDir.empty();
}

void TSetupStartup::InstallVariableHooks() {
  VariableHooks& hooks = globals_.Vars->Hooks;
  hooks.ActiveSyncInstalledHook = [this] { return host_.IsActiveSyncPresent(); };
  hooks.HotSyncInstalledHook = [this] { return host_.IsHotSyncPresent(); };
  if (host_.IsHotSyncPresent())
    hooks.HotSyncDirHook = [this] { return host_.HotSyncFolder(); };
  hooks.SetupHandleHook = [this] { return host_.ApplicationHandle(); };
  hooks.ActiveDialogHandleHook = [this] { return host_.ActiveWindowHandle(); };
  // The file folders are not read yet; the test is renewed once they are.
  hooks.IsDirectoryVariableHook = DirectoryVariableTest({});
}

void TSetupStartup::ReadPackageTexts() {
  ReadSection(kSectionVariables);
  LoadVariables(*globals_.Vars, globals_.Data.Variables, host_.Registry());
  ReadSection(kSectionSoftwareInfo);
  ReadSection(kSectionAppearance);
  ReadSection(kSectionMessages);
  const std::string language = DefaultLanguageName(globals_.Data);
  if (!language.empty()) {
    globals_.DefaultLanguage = language;
    globals_.Vars->SetVariable("%Language%", language);
  }
}

std::optional<int> TSetupStartup::CheckRequiredSoftware() {
  const auto& options = globals_.Header.StartupOptions;
  if (options[kRequireActiveSync] && !host_.IsActiveSyncPresent()) {
    return EndRun(MessageText(kMessageActiveSyncMissing), MessageIcon::kInformation,
                  kExitRequiredSoftwareMissing);
  }
  if (options[kRequireHotSync] && !host_.IsHotSyncPresent()) {
    return EndRun(MessageText(kMessageHotSyncMissing), MessageIcon::kInformation,
                  kExitRequiredSoftwareMissing);
  }
  return std::nullopt;
}

void TSetupStartup::SetPackageTitle() {
  host_.SetTitle(globals_.Vars->ExpandText(globals_.Data.Properties.Title));
}

void TSetupStartup::ShowLoader() {
  const TSetupProperties& properties = globals_.Data.Properties;
  Variables& vars = *globals_.Vars;
  LoaderLook look;
  look.Caption = host_.Title();
  look.Title = vars.ExpandText(properties.Title, /*escape=*/true);
  look.Message = vars.ExpandText(GetMessageText(globals_.Data, kMessageStarting, CurrentLanguage()),
                                 /*escape=*/true);
  look.Font = LoaderFont(properties.Font, globals_.Header.StartupOptions[kKeepDefaultFont] != 0);
  const ScreenPoint origin = LoaderOrigin(host_.Screen(), !properties.SplashBitmap.empty());
  look.Left = origin.Left;
  look.Top = origin.Top;
  loader_ = host_.ShowLoader(look);
  extractor_ =
      std::make_unique<TTempFileExtractor>(vars, globals_.Data.TempFiles, globals_.TempFileList,
                                           properties.SplashBitmap, host_.CreateArchiveFiles());
}

void TSetupStartup::ExtractTempFiles(TempFilePass pass) {
  extractor_->ExtractTempFiles(*globals_.SetupFileStream, globals_.Header, pass);
}

void TSetupStartup::ShowSplash() {
  const std::string& name = globals_.Data.Properties.SplashBitmap;
  if (name.empty())
    return;
  const std::string file = globals_.Vars->ExpandText("%TempSetupDir%\\" + name);
  if (!host_.FileExists(file))
    return;
  splash_ = host_.ShowSplash(file, host_.Title());
  if (splash_)
    host_.Wait(kSplashWaitMs);
}

void TSetupStartup::ReadRemainingSections() {
  for (int index : kRemainingSections)
    ReadSection(index);
  // The option bytes were read with the header; the records carry them for the wizard
  // and the installation (uninstall information, device-only packages, fonts).
  globals_.Data.StartupOptions = globals_.Header.StartupOptions;
  globals_.Vars->Hooks.IsDirectoryVariableHook = DirectoryVariableTest(globals_.Data.FileFolders);
}

void TSetupStartup::InitRuntimeVariables() {
  InitVariables(*globals_.Vars, globals_.Data, host_.DefaultHotSyncUser(),
                globals_.DefaultLanguage);
}

void TSetupStartup::CloseStartupForms() {
  splash_.reset();
  loader_.reset();
  extractor_.reset();
}

bool TSetupStartup::RunStartupScript() {
  ScriptEngineOptions options = host_.ScriptOptions();
  options.PackageHasComponents = !globals_.Data.Components.empty();
  globals_.Scripts = std::make_unique<TScriptEngine>(
      *globals_.Vars, host_.CreateScriptServices(globals_.Data.Platforms), options);
  return globals_.Scripts->ExecuteScript(globals_.Data.Scripts[0]);
}

void TSetupStartup::ReadBackItems() {
  if (globals_.Data.StartupOptions[kUseBackWindow])
    ReadSection(kSectionBackItems);
}

std::string TSetupStartup::CurrentLanguage() const {
  const TVariableList& list = globals_.Vars->List();
  return list.GetItem(list.IndexOf("%Language%")).second;
}

std::string TSetupStartup::MessageText(int number) const {
  return globals_.Vars->ExpandText(GetMessageText(globals_.Data, number, CurrentLanguage()));
}

void TSetupStartup::ReadSection(int index) {
  LoadSection(index, *globals_.SetupFileStream, globals_.Header, globals_.Data);
}

int TSetupStartup::EndRun(const std::string& text, MessageIcon icon, int exit_code) {
  CloseStartupForms();
  host_.ShowMessage(text, icon);
  FreeSetupData(globals_, host_);
  return exit_code;
}

}  // namespace kvb
