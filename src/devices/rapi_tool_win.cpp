// Connection, disconnection and identification of the device.
#include "devices/rapi_tool_win.h"

#include "base/message_pump.h"
#include "base/wide_text_win.h"
#include "devices/device_agents.h"

namespace kvb {
namespace {

constexpr DWORD kUnansweredMajor = 1000000;
constexpr char kAgentPath[] = "\\kVB.exe";
const char kAnswerKey[] = "Software\\QX\\Kalvenbrooker";
const char kAnswerParentKey[] = "Software\\QX";
const char* const kAnswerValues[] = {"Platform", "Serial", "XScale", "Finished"};

void Signal(const std::function<void(bool)>& progress, bool done) {
  if (progress)
    progress(done);
}

// Waits up to `ms` for window input (processing it) or the time to pass; false when the
// application is quitting.
bool PumpFor(DWORD ms) {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
  return ProcessPendingMessages();
}

}  // namespace

TRapiTool::TRapiTool() {
  library_.Load();
}

TRapiTool::~TRapiTool() {
  Disconnect();
  library_.Unload();
}

void TRapiTool::SetPlatforms(const std::vector<TSetupPlatform>& platforms) {
  platforms_ = MakeRapiDevices(platforms);
}

bool TRapiTool::VersionAnswers() {
  CEOSVERSIONINFO info = {};
  info.dwOSVersionInfoSize = sizeof info;
  info.dwMajorVersion = kUnansweredMajor;
  Api().CeGetVersionEx(&info);
  return info.dwMajorVersion != kUnansweredMajor;
}

bool TRapiTool::Probe() {
  if (connected_) {
    if (VersionAnswers())
      return true;
    Disconnect();
    return false;
  }
  if (connecting_ || !library_.Load() || !library_.Complete())
    return false;
  RAPIINIT init = {sizeof init, nullptr, 0};
  bool answered = false;
  if (Api().CeRapiInitEx(&init) != kRapiFailure)
    answered = VersionAnswers();
  connected_ = true;
  Disconnect();
  return answered;
}

bool TRapiTool::Connect(bool skip_probe) {
  if (connecting_)
    return false;
  if (connected_)
    return true;
  if (!skip_probe && !Probe())
    return false;
  if (!library_.Load() || !library_.Complete())
    return false;
  Signal(OnConnectProgress, false);
  RAPIINIT init = {sizeof init, nullptr, 0};
  if (Api().CeRapiInitEx(&init) == kRapiFailure) {
    Signal(OnConnectProgress, true);
    return false;
  }
  cancel_requested_ = false;
  connecting_ = true;
  const bool answered = WaitForConnection(init);
  connecting_ = false;
  if (!answered) {
    // The started initialisation is ended again, so the next attempt starts afresh.
    Api().CeRapiUninit();
    Signal(OnConnectProgress, true);
    return false;
  }
  connected_ = true;
  const bool identified = Identify();
  Signal(OnConnectProgress, true);
  return identified;
}

bool TRapiTool::WaitForConnection(const RAPIINIT& init) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (!ProcessPendingMessages() || cancel_requested_)
      return false;
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= Limits.ConnectMs)
      return false;
    HANDLE event = init.heRapiInit;
    const DWORD wake =
        MsgWaitForMultipleObjects(1, &event, FALSE, Limits.ConnectMs - elapsed, QS_ALLINPUT);
    if (wake == WAIT_OBJECT_0)
      return SUCCEEDED(init.hrRapiInit);
    if (wake != WAIT_OBJECT_0 + 1)
      return false;  // timed out, or the handle is no event
  }
}

bool TRapiTool::Disconnect() {
  if (!connected_)
    return true;
  CloseFile();
  CloseKey();
  Signal(OnDisconnectProgress, false);
  const HRESULT result = Api().CeRapiUninit();
  connected_ = false;
  platform_.clear();
  serial_.clear();
  xscale_ = false;
  Signal(OnDisconnectProgress, true);
  return result != kRapiFailure;
}

bool TRapiTool::Identify() {
  platform_.clear();
  serial_.clear();
  xscale_ = false;
  if (!CopyAgent(AgentFamilyOf(kvb::ProcessorCode(static_cast<uint32_t>(ProcessorType())))))
    return false;
  PROCESS_INFORMATION process = {};
  if (!Api().CeCreateProcess(AnsiToWide(kAgentPath).c_str(), nullptr, nullptr, nullptr, FALSE, 0,
                             nullptr, nullptr, nullptr, &process)) {
    RemoveFile(kAgentPath);
    return false;
  }
  CloseDeviceHandle(process.hThread);
  CloseDeviceHandle(process.hProcess);
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (Api().CeRegCreateKeyEx(HKEY_LOCAL_MACHINE, AnsiToWide(kAnswerKey).c_str(), 0, nullptr, 0, 0,
                             nullptr, &key, &disposition) != ERROR_SUCCESS) {
    RemoveFile(kAgentPath);
    return false;
  }
  if (AwaitAgentAnswer(key))
    ReadAgentAnswer(key);
  RemoveAgentTraces(key);
  return !platform_.empty();
}

// Writes the agent of the family as "\kVB.exe"; an unknown family or a failed write
// leaves no file behind.
bool TRapiTool::CopyAgent(AgentFamily family) {
  const std::span<const uint8_t> image = DeviceAgentImage(family);
  if (image.empty())
    return false;
  const HANDLE file = OpenDeviceFile(kAgentPath, GENERIC_WRITE, CREATE_ALWAYS);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  DWORD written = 0;
  const bool ok =
      Api().CeWriteFile(file, image.data(), static_cast<DWORD>(image.size()), &written, nullptr) &&
      written == image.size();
  CloseDeviceHandle(file);
  if (!ok)
    RemoveFile(kAgentPath);
  return ok;
}

// Looks for the agent's "Finished" value until it appears, the time is up or the user
// cancels; an agent that never answers thus ends the wait without a platform.
bool TRapiTool::AwaitAgentAnswer(HKEY key) {
  const DWORD start = GetTickCount();
  for (;;) {
    DWORD type = 0;
    DWORD size = 0;
    if (Api().CeRegQueryValueEx(key, L"Finished", nullptr, &type, nullptr, &size) ==
        ERROR_SUCCESS) {
      return true;
    }
    if (cancel_requested_ || GetTickCount() - start >= Limits.AgentAnswerMs)
      return false;
    if (!PumpFor(Limits.AgentPollMs))
      return false;
  }
}

void TRapiTool::ReadAgentAnswer(HKEY key) {
  platform_ = QueryText(key, "Platform").value_or("");
  serial_ = QueryText(key, "Serial").value_or("");
  xscale_ = QueryDword(key, "XScale").value_or(0) != 0;
}

void TRapiTool::RemoveAgentTraces(HKEY key) {
  for (const char* name : kAnswerValues)
    Api().CeRegDeleteValue(key, AnsiToWide(name).c_str());
  Api().CeRegCloseKey(key);
  Api().CeRegDeleteKey(HKEY_LOCAL_MACHINE, AnsiToWide(kAnswerKey).c_str());
  Api().CeRegDeleteKey(HKEY_LOCAL_MACHINE, AnsiToWide(kAnswerParentKey).c_str());
  RemoveFile(kAgentPath);
}

}  // namespace kvb
