// Device, HotSync, internet, maintenance and DLL commands, with and without their carriers.
#include <gtest/gtest.h>

#include "script/conversion.h"
#include "script_fakes.h"

namespace kvb {
namespace {

// Output commands of the device, with the value each gives without a device.
struct DeviceCase {
  std::vector<std::string> args;  // after the command name, starting with the variable
  const char* command;
  const char* without_device;
  const char* with_device;
};

const DeviceCase kDeviceCases[] = {
    {{"%R%"}, "DEVICECONNECTED", "0", "1"},
    {{"%R%", "NAME"}, "DEVICEOWNER", "", "Owner"},
    {{"%R%", "COMPANY"}, "DEVICEOWNER", "", "Company"},
    {{"%R%", "name"}, "DEVICEOWNER", "", ""},
    {{"%R%", "MAJOR"}, "DEVICEOS", "0", "4"},
    {{"%R%", "FULL"}, "DEVICEOS", "0", "4.20"},
    {{"%R%", "\\f.txt", "EXISTENCE"}, "DEVICEFILEINFO", "0", "\\f.txt#0"},
    {{"%R%", "\\f.txt", "size"}, "DEVICEFILEINFO", "0", "\\f.txt#4"},
    {{"%R%", "\\f.txt", "NAME"}, "DEVICEFILEINFO", "", "\\f.txt#2"},
    {{"%R%", "\\f.txt", "PATH"}, "DEVICEFILEINFO", "", "\\f.txt#3"},
    {{"%R%", "f.txt", "\\Windows\\"}, "DEVICEFILESEARCH", "0", "1"},
    {{"%R%"}, "DEVICEAPPINSTALLED", "0", "1"},
    {{"%R%"}, "DEVICEPLATFORM", "", "PPC2002"},
    {{"%R%"}, "DEVICEPROCESSOR", "", "ARM920"},
    {{"%R%"}, "DEVICECPUNATIVE", "0", "1"},
    {{"%R%", "STRING"}, "DEVICEFREESPACE", "0", "1.5 KB"},
    {{"%R%", ""}, "DEVICEFREESPACE", "0", "1536"},
    {{"%R%"}, "DEVICESERIAL", "", "SN1"},
    {{"%R%"}, "DEVICEXSCALE", "0", "1"},
    {{"%R%", "\\f", "0"}, "DEVICEFILEOPEN", "ERROR", "OK"},
    {{"%R%", "HKEY_LOCAL_MACHINE", "K", "Missing", "dflt"}, "DEVICEREADREG", "", "dflt"},
};

TEST(DeviceCommandsTest, OutputsWithAndWithoutDevice) {
  for (const DeviceCase& c : kDeviceCases) {
    for (const int mode : {0, 1, 2}) {  // no accessor (no ActiveSync), no device, device
      ScriptHarness h(mode > 0);
      if (mode == 1)
        h.device->present = false;
      h.vars.SetVariable("%R%", "before");
      h.Execute({{c.command, c.args}});
      EXPECT_EQ(h.Value("%R%"), mode == 2 ? c.with_device : c.without_device)
          << c.command << " " << c.args.back() << " mode " << mode;
    }
  }
}

TEST(DeviceCommandsTest, ConnectsOnceThenUsesTheConnection) {
  ScriptHarness h(true);
  h.Execute({{"DEVICERUN", {"\\app.exe", "-a"}}, {"DEVICEMAKEFOLDER", {"\\Dir"}}});
  EXPECT_EQ(h.log, (Log{"Probe()", "Connect(skip)", "DeviceRun(\\app.exe, -a)",
                        "DeviceMakeFolder(\\Dir)"}));
}

TEST(DeviceCommandsTest, ActionsWithoutDeviceDoNothing) {
  ScriptHarness h(true);
  h.device->present = false;
  h.Execute({{"DEVICERUN", {"\\app.exe", ""}},
             {"DEVICECOPY", {"\\a", "\\b"}},
             {"COPYTODEVICE", {"a", "\\b"}},
             {"DEVICEDELETEFILE", {"\\a"}},
             {"DEVICEWRITEREG", {"HKEY_CURRENT_USER", "K", "V", "1"}}});
  for (const std::string& entry : h.log)
    EXPECT_EQ(entry, "Probe()");
}

TEST(DeviceCommandsTest, FileSearchJoinsFolderAndNameAsGiven) {
  ScriptHarness h(true);
  h.Execute({{"DEVICEFILESEARCH", {"%R%", "log.txt", "\\My Documents\\app_"}},
             {"DEVICEFILESEARCH", {"%R%", "a.txt", ""}}});
  EXPECT_EQ(h.log, (Log{"Probe()", "Connect(skip)", "DeviceExists(\\My Documents\\app_log.txt)",
                        "DeviceExists(a.txt)"}));
}

TEST(DeviceCommandsTest, DeviceFileCommandsWithoutAnOpenFileSetErrorCode) {
  for (const char* command : {"DEVICEFILEWRITE", "DEVICEFILEREAD", "DEVICEFILECLOSE"}) {
    for (const bool device : {false, true}) {
      ScriptHarness h(device);
      h.vars.SetVariable("%ErrorCode%", "0");
      h.Execute({{command, {"%D%", "1"}}});
      EXPECT_EQ(h.Value("%ErrorCode%"), "1") << command << " device " << device;
    }
  }
  ScriptHarness h(true);
  h.vars.SetVariable("%ErrorCode%", "0");
  h.Execute({{"DEVICEFILEOPEN", {"%R%", "\\f", "0"}}, {"DEVICEFILECLOSE"}});
  EXPECT_EQ(h.Value("%ErrorCode%"), "0");
  EXPECT_FALSE(h.device->file_open);
}

TEST(DeviceCommandsTest, DeviceFileAndRegistry) {
  ScriptHarness h(true);
  h.Execute({{"DEVICEFILEOPEN", {"%R%", "\\log.txt", "0"}},
             {"DEVICEFILEWRITELINE", {"ab"}},
             {"DEVICEFILEWRITE", {"cd\r"}},
             {"DEVICEFILEREAD", {"%D%", "1"}}});
  EXPECT_EQ(h.device->file, "ab\r\ncd\r");
  EXPECT_EQ(h.Value("%D%"), "EOF");
  h.device->Seek(0, 0);
  h.Execute({{"DEVICEFILEREADLINE", {"%A%"}},
             {"DEVICEFILEREAD", {"%B%", "1"}},
             {"DEVICEFILEREADLINE", {"%C%"}},
             {"DEVICEFILEREADLINE", {"%E%"}},
             {"DEVICEFILECLOSE"}});
  EXPECT_EQ(h.Value("%A%|%B%|%C%|%E%"), "ab|c|d|EOF");
  EXPECT_FALSE(h.device->file_open);

  h.Execute({{"DEVICEWRITEREG", {"HKEY_LOCAL_MACHINE", "\\Soft\\", "N", "42"}},
             {"DEVICEWRITEREG", {"", "Soft", "S", "4x"}},
             {"DEVICEREADREG", {"%N%", "", "Soft", "N", ""}},
             {"DEVICEREADREG", {"%S%", "", "Soft", "S", ""}},
             {"DEVICEDELETEREG", {"", "Soft", "N"}},
             {"DEVICEDELETEREG", {"HKEY_CURRENT_USER", "Soft", ""}}});
  EXPECT_EQ(h.Value("%N%|%S%"), "42|4x");
  EXPECT_EQ(h.device->values.count("N"), 0u);
  EXPECT_EQ(h.log.back(), "DeviceDeleteKey(2147483649, Soft)");
  EXPECT_NE(std::find(h.log.begin(), h.log.end(), "DeviceOpenKey(2147483650, Soft)"), h.log.end());
}

TEST(CarrierCommandsTest, HotSyncUsers) {
  ScriptHarness none;
  none.Execute({{"HOTSYNCUSERCOUNT", {"%C%"}}, {"HOTSYNCUSER", {"%U%", "0"}}});
  EXPECT_EQ(none.Value("%C%|%U%"), "0|");
  ScriptHarness h(true);
  h.hotsync.users = {"Ann", "Bob"};
  h.Execute({{"HOTSYNCUSERCOUNT", {"%C%"}},
             {"HOTSYNCUSER", {"%U%", "1"}},
             {"HOTSYNCUSER", {"%V%", "2"}}});
  EXPECT_EQ(h.Value("%C%|%U%|%V%"), "2|Bob|");
}

TEST(CarrierCommandsTest, InternetWithoutTransportFails) {
  ScriptHarness h;
  std::vector<HttpProgressEvent> events;
  h.State().Hooks.DownloadNotification = [&](HttpProgressEvent e, uint64_t, uint64_t) {
    events.push_back(e);
  };
  h.vars.SetVariable("%Body%", "before");
  h.Execute({{"ONLINECHECK", {"%On%"}},
             {"GETTEXT", {"%Body%", "http://x/"}},
             {"DOWNLOAD", {"http://x/f", "f"}},
             {"POST", {"http://x/", "d"}},
             {"CANCELDOWNLOAD"}});
  EXPECT_EQ(h.Value("%On%|%Body%"), "0|");
  EXPECT_EQ(events, (std::vector{HttpProgressEvent::kStart, HttpProgressEvent::kEnd}));
}

TEST(CarrierCommandsTest, InternetThroughTransport) {
  ScriptHarness h(true);
  std::vector<HttpProgressEvent> events;
  h.State().Hooks.DownloadNotification = [&](HttpProgressEvent e, uint64_t, uint64_t) {
    events.push_back(e);
  };
  h.vars.SetVariable("%Dir%", "C:\\Down Loads");
  h.Execute({{"ONLINECHECK", {"%On%"}},
             {"GETTEXT", {"%Body%", "http://host/a b.txt"}},
             {"DOWNLOAD", {"http://host/f 1", "%Dir%\\f 1"}},
             {"POST", {"http://host/p", "k=v"}},
             {"CANCELDOWNLOAD"}});
  EXPECT_EQ(h.Value("%On%|%Body%"), "1|answer");
  EXPECT_EQ(h.log, (Log{"Get(http://www.kalvenbrooker.com/check.txt)", "Get(http://host/a%20b.txt)",
                        "Download(http://host/f%201, C:\\Down Loads\\f 1)",
                        "Post(http://host/p, k=v)", "Cancel()"}));
  EXPECT_EQ(events, (std::vector{HttpProgressEvent::kStart, HttpProgressEvent::kData,
                                 HttpProgressEvent::kEnd}));
  h.http->succeed = false;
  h.Execute({{"ONLINECHECK", {"%On%"}}, {"GETTEXT", {"%Body%", "u"}}});
  EXPECT_EQ(h.Value("%On%|%Body%"), "0|");
}

TEST(CarrierCommandsTest, ModifyModeCallsTheDetector) {
  struct Detector : PreviousInstallDetector {
    int calls = 0;
    void DetectPreviousInstall() override { ++calls; }
  } detector;
  Variables vars;
  ScriptServices services;
  services.Maintenance = &detector;
  TScriptEngine engine(vars, std::move(services));
  EXPECT_TRUE(engine.ExecuteScript(MakeScript({{"MODIFYMODE"}})));
  EXPECT_EQ(detector.calls, 1);
  ScriptHarness without;  // no detector: nothing happens
  EXPECT_TRUE(without.Execute({{"MODIFYMODE"}}));
}

TEST(DllCommandTest, ResultsAndFailures) {
  ScriptHarness h;
  h.vars.SetVariable("%Lib%", "C:\\t.dll");
  h.vars.SetVariable("%N%", "7");
  h.vars.SetVariable("%ErrorCode%", "0");
  h.Execute({{"DLLCALL", {"%Lib%", "Fn", "STRING", "\"a b\", %N%,", " -1"}},
             {"SET", {"%S%", "%DLLResult%"}},
             {"DLLCALL", {"%Lib%", "Fn", "string", ""}}});
  EXPECT_EQ(h.log, (Log{"CallString(C:\\t.dll, Fn, 'a b' 7 -1)", "CallInteger(C:\\t.dll, Fn, )"}));
  EXPECT_EQ(h.Value("%S%|%DLLResult%|%ErrorCode%"), "text|-1|0");
  h.dll->fail = true;
  h.Execute({{"DLLCALL", {"x.dll", "Fn", "INTEGER", ""}}});
  EXPECT_EQ(h.Value("%DLLResult%|%ErrorCode%"), "ERROR|2");
}

TEST(DllCommandTest, ArgumentParsing) {
  using A = DllArgument;
  struct Case {
    const char* text;
    std::vector<DllArgument> expected;
  } cases[] = {
      {"\"abc\", 5, -1", {{A::kString, "abc", 0}, {A::kInteger, "", 5}, {A::kInteger, "", -1}}},
      {"\"\"", {{A::kString, "", 0}}},
      {"1,,2", {{A::kInteger, "", 1}, {A::kInteger, "", 2}}},
      {"", {}},
      {" \t, ", {}},
      {"\"a,b\"", {{A::kString, "a,b", 0}}},
      {"\"open", {{A::kString, "open", 0}}},
      {"x1y", {{A::kInteger, "", 1}}},
      {"\"s\"3", {{A::kString, "s", 0}, {A::kInteger, "", 3}}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ParseDllArguments(c.text), c.expected) << c.text;
  EXPECT_THROW(ParseDllArguments("1, -"), ScriptConversionError);
}

}  // namespace
}  // namespace kvb
