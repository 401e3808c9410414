// TRapiTool against the stand-in "rapi.dll": connection and identification through the
// carried device agents, the timeout and cancel rules, and the device's files and
// registry, including a device that drops off mid-transfer.
#include <gtest/gtest.h>

#include "devices/rapi_tool_win.h"
#include "devices/win/standin_support.h"

namespace kvb {
namespace {

class RapiToolTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(InstallStandinRapi()); }

  std::unique_ptr<TRapiTool> Connected(bool expect_identified = true) {
    auto tool = std::make_unique<TRapiTool>();
    EXPECT_EQ(tool->Connect(false), expect_identified);
    EXPECT_TRUE(tool->IsConnected());
    return tool;
  }
};

TEST_F(RapiToolTest, EachProcessorFamilyIsIdentifiedThroughItsAgent) {
  struct Case {
    const char* processor;
    const char* name;
    const char* machine;
  } cases[] = {{"2577", "STRONGARM", "448"},
               {"4000", "MIPS4000", "358"},
               {"10003", "SH3", "418"},
               {"10005", "SH4", "422"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StandinDevice device(std::string("processor=") + c.processor +
                         "\nplatform=PocketPC\nserial=SN-42\nxscale=1\n");
    std::unique_ptr<TRapiTool> tool = Connected();
    EXPECT_EQ(tool->ProcessorName(), c.name);
    EXPECT_EQ(tool->SerialNumber(), "SN-42");
    EXPECT_TRUE(tool->IsXScale());
    EXPECT_NE(device.Calls().find(std::string("agent started: machine ") + c.machine),
              std::string::npos);
    // The agent and its answer are gone again.
    EXPECT_EQ(device.Registry().find("QX"), std::string::npos) << device.Registry();
    EXPECT_EQ(GetFileAttributesA((device.Root() + "\\kVB.exe").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(tool->Disconnect());
    EXPECT_FALSE(tool->IsConnected());
    EXPECT_EQ(tool->SerialNumber(), "");
  }
}

TEST_F(RapiToolTest, AnUnknownProcessorConnectsWithoutAPlatform) {
  StandinDevice device("processor=586\n");
  std::unique_ptr<TRapiTool> tool = Connected(false);
  EXPECT_EQ(tool->ProcessorName(), "");
  EXPECT_EQ(device.Calls().find("agent"), std::string::npos);
  EXPECT_EQ(GetFileAttributesA((device.Root() + "\\kVB.exe").c_str()), INVALID_FILE_ATTRIBUTES);
}

TRapiTool* waiting_tool = nullptr;
void CALLBACK CancelWaitingTool(HWND, UINT, UINT_PTR, DWORD) {
  waiting_tool->CancelConnect();
}

TEST_F(RapiToolTest, WaitsEndOnTimeoutOrCancel) {
  {
    SCOPED_TRACE("agent never answers");
    StandinDevice device("agent=never\n");
    TRapiTool tool;
    tool.Limits.AgentAnswerMs = 150;
    EXPECT_FALSE(tool.Connect(false));
    EXPECT_EQ(tool.SerialNumber(), "");
    EXPECT_EQ(device.Registry().find("QX"), std::string::npos);
  }
  {
    SCOPED_TRACE("connection never signalled, time limit");
    StandinDevice device("init=never\n");
    TRapiTool tool;
    tool.Limits.ConnectMs = 100;
    EXPECT_TRUE(tool.Probe());
    EXPECT_FALSE(tool.Connect(true));
    EXPECT_FALSE(tool.IsConnected());
  }
  {
    SCOPED_TRACE("connection never signalled, cancelled from the wait window");
    StandinDevice device("init=never\n");
    TRapiTool tool;
    waiting_tool = &tool;
    std::vector<bool> progress;
    tool.OnConnectProgress = [&](bool done) { progress.push_back(done); };
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, CancelWaitingTool);
    EXPECT_FALSE(tool.Connect(false));
    KillTimer(nullptr, timer);
    EXPECT_EQ(progress, (std::vector<bool>{false, true}));
  }
  {
    SCOPED_TRACE("ActiveSync refuses");
    StandinDevice device("init=fail\n");
    TRapiTool tool;
    EXPECT_FALSE(tool.Probe());
    EXPECT_FALSE(tool.Connect(true));
  }
}

TEST_F(RapiToolTest, NoDeviceMeansEveryOperationFails) {
  SetEnvironmentVariableA("KVB_STANDIN_DEVICE", "C:\\no-such-device");
  TRapiTool tool;
  EXPECT_FALSE(tool.Probe());
  EXPECT_FALSE(tool.Connect(false));
  EXPECT_FALSE(tool.FileExists("\\"));
  EXPECT_FALSE(tool.OpenKey(kDeviceLocalMachine, "Software"));
  EXPECT_EQ(tool.ProcessorType(), -1);
  EXPECT_EQ(tool.StoreInformation(), 0u);
  SetEnvironmentVariableA("KVB_STANDIN_DEVICE", nullptr);
}

TEST_F(RapiToolTest, FilesMoveBothWaysAndStayInsideTheDevice) {
  StandinDevice device("free_space=777\n");
  std::unique_ptr<TRapiTool> tool = Connected();
  std::string payload;
  for (int i = 0; i < 20000; ++i)
    payload += static_cast<char>('a' + i % 26);
  const std::string local = device.Folder() + "\\local.bin";
  WriteAll(local, payload);

  ASSERT_TRUE(tool->CreateFolder("\\Apps"));
  ASSERT_TRUE(tool->CopyToDevice(local, "\\Apps\\data.bin"));
  EXPECT_EQ(ReadAll(device.Root() + "\\Apps\\data.bin"), payload);
  EXPECT_TRUE(tool->FileExists("\\Apps\\data.bin"));
  EXPECT_EQ(tool->FileInfo("\\Apps\\data.bin", 0), "1");
  EXPECT_EQ(tool->FileInfo("\\Apps\\data.bin", 1), ".bin");
  EXPECT_EQ(tool->FileInfo("\\Apps\\data.bin", 2), "data.bin");
  EXPECT_EQ(tool->FileInfo("\\Apps\\data.bin", 3), "\\Apps\\");
  EXPECT_EQ(tool->FileInfo("data.bin", 3), "\\");
  EXPECT_EQ(tool->FileInfo("\\Apps\\data.bin", 4), "20000");
  EXPECT_EQ(tool->FileInfo("\\Apps\\missing", 4), "0");
  EXPECT_TRUE(tool->CopyOnDevice("\\Apps\\data.bin", "\\copy.bin"));
  ASSERT_TRUE(tool->CopyFromDevice("\\copy.bin", device.Folder() + "\\back.bin"));
  EXPECT_EQ(ReadAll(device.Folder() + "\\back.bin"), payload);
  EXPECT_FALSE(tool->CopyFromDevice("\\missing.bin", device.Folder() + "\\none.bin"));
  EXPECT_EQ(GetFileAttributesA((device.Folder() + "\\none.bin").c_str()), INVALID_FILE_ATTRIBUTES);

  WriteAll(local, "");
  EXPECT_TRUE(tool->CopyToDevice(local, "\\empty.txt"));
  EXPECT_FALSE(tool->CopyToDevice(device.Folder() + "\\missing", "\\x.txt"));
  EXPECT_FALSE(tool->CopyToDevice(local, "\\..\\..\\escaped.txt"));
  EXPECT_FALSE(tool->RemoveFolder("\\Apps"));  // not empty
  EXPECT_TRUE(tool->RemoveFile("\\Apps\\data.bin"));
  EXPECT_TRUE(tool->RemoveFolder("\\Apps"));
  EXPECT_TRUE(tool->RunProgram("\\copy.bin", "/x"));
  EXPECT_NE(device.Calls().find("run \\copy.bin /x"), std::string::npos);
  EXPECT_EQ(tool->StoreInformation(), 777u);
}

TEST_F(RapiToolTest, TheOpenFileReadsWritesAndChecksItsFirstValue) {
  StandinDevice device("");
  std::unique_ptr<TRapiTool> tool = Connected();
  ASSERT_TRUE(tool->OpenFile("\\log.dat", 0));
  const uint32_t magic = 0x12345678;
  EXPECT_TRUE(tool->WriteFile(reinterpret_cast<const char*>(&magic), 4));
  EXPECT_TRUE(tool->WriteFile("tail", 4));
  EXPECT_EQ(tool->FileSize(), 8);
  EXPECT_EQ(tool->Seek(0, 0), 0);
  char buffer[8] = {};
  EXPECT_FALSE(tool->ReadFile(buffer, 9));  // only whole requests succeed
  EXPECT_EQ(tool->Seek(-4, 1), 4);
  EXPECT_TRUE(tool->ReadFile(buffer, 4));
  EXPECT_EQ(std::string(buffer, 4), "tail");
  tool->CloseFile();
  EXPECT_FALSE(tool->FileIsOpen());
  EXPECT_TRUE(tool->OpenFile("\\log.dat", magic));
  EXPECT_FALSE(tool->OpenFile("\\log.dat", magic + 1));
  EXPECT_FALSE(tool->FileIsOpen());
}

TEST_F(RapiToolTest, ADeviceDroppingOffMidTransferFailsTheCopyAndLaterCalls) {
  StandinDevice device("write_limit=12000\n");
  std::unique_ptr<TRapiTool> tool = Connected();
  const std::string local = device.Folder() + "\\big.bin";
  WriteAll(local, std::string(30000, 'x'));
  EXPECT_FALSE(tool->CopyToDevice(local, "\\big.bin"));
  EXPECT_NE(device.Calls().find("dropped off"), std::string::npos);
  EXPECT_FALSE(tool->FileExists("\\big.bin"));
  EXPECT_FALSE(tool->Probe());  // the connection is given up
  EXPECT_FALSE(tool->IsConnected());
}

TEST_F(RapiToolTest, RegistryValuesOwnerAndInstalledApplications) {
  StandinDevice device("major=4\n");
  // "Owner" holds wide characters: the name at 0, the company at character 36.
  std::string owner_hex;
  std::u16string owner(72, u'\0');
  owner.replace(0, 3, u"Ann");
  owner.replace(36, 4, u"Corp");
  for (char16_t c : owner) {
    char byte[5];
    snprintf(byte, sizeof byte, "%02x%02x", c & 0xFF, c >> 8);
    owner_hex += byte;
  }
  device.SetRegistry("V\tHKCU\\ControlPanel\\Owner\tOwner\t3\t" + owner_hex +
                     "\nV\tHKLM\\Software\\Apps\\Sea Soft Tides\tInstl\t4\t1\n");
  std::unique_ptr<TRapiTool> tool = Connected();
  EXPECT_EQ(tool->OwnerInfo(0), "Ann");
  EXPECT_EQ(tool->OwnerInfo(1), "Corp");
  EXPECT_TRUE(tool->AppInstalled("Sea Soft", "Tides"));
  EXPECT_FALSE(tool->AppInstalled("Sea Soft", "Maps"));

  ASSERT_TRUE(tool->OpenKey(kDeviceLocalMachine, "Software\\Tides"));
  EXPECT_TRUE(tool->WriteString("Name", "North Sea"));
  EXPECT_TRUE(tool->WriteInteger("Count", -2));
  EXPECT_EQ(tool->ValueType("Name"), kDeviceRegString);
  EXPECT_EQ(tool->ValueType("Count"), kDeviceRegDword);
  EXPECT_EQ(tool->ReadString("Name"), "North Sea");
  EXPECT_EQ(tool->ReadInteger("Count"), -2);
  EXPECT_EQ(tool->ReadString("Count"), std::nullopt);
  EXPECT_TRUE(tool->DeleteValue("Count"));
  EXPECT_EQ(tool->ValueType("Count"), std::nullopt);
  tool->CloseKey();
  EXPECT_NE(device.Registry().find("HKLM\\Software\\Tides\tName\t1\tNorth Sea"), std::string::npos);
  EXPECT_TRUE(tool->OpenKey(kDeviceLocalMachine, ""));  // the root itself
  tool->CloseKey();
  EXPECT_TRUE(tool->DeleteKey(kDeviceLocalMachine, "Software\\Tides"));
  EXPECT_EQ(device.Registry().find("HKLM\\Software\\Tides"), std::string::npos);
  EXPECT_EQ(tool->ReadString("Name"), std::nullopt);  // no key open
}

TEST_F(RapiToolTest, ThePlatformTableNamesTheDevice) {
  StandinDevice device("processor=2577\nplatform=PocketPC\nmajor=3\nminor=0\n");
  std::unique_ptr<TRapiTool> tool = Connected();
  tool->SetPlatforms({{"HPC", "", 0x020E, 0x020E, "2.0", "2.11"},
                      {"PPC", "HPC, Jupiter", 0x02DE, 0x020E, "3.0", "1000.99"},
                      {"SP2002", "PocketPC, HPC", 0x020E, 0x020E, "3.0", "3.9"}});
  EXPECT_EQ(tool->PlatformName(), "PPC");
  EXPECT_TRUE(tool->CpuIsNative());
  EXPECT_EQ(tool->OsVersion(2), "3.0");
}

}  // namespace
}  // namespace kvb
