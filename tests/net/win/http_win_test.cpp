// The WinINet transport and the internet commands under Wine, against the local servers
// (tests/net/http_test_server.py) that tests/e2e/net_transport_test.sh starts and names in
// the environment: plain HTTP on KVB_HTTP_PORT, HTTPS on KVB_HTTPS_PORT with a certificate
// whose authority the test's prefix trusts, and on KVB_HTTPS_UNTRUSTED_PORT with one it
// does not. KVB_NET_WORK is a folder for the downloaded files.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "net/download_progress.h"
#include "net/http_platform_win.h"
#include "script/script_fakes.h"

namespace kvb {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string HttpUrl(const std::string& path) {
  return "http://127.0.0.1:" + Env("KVB_HTTP_PORT") + path;
}

// The bytes the server's /data, /chunked and /slow paths send.
std::string Pattern(size_t length) {
  std::string bytes(length, '\0');
  for (size_t i = 0; i < length; ++i)
    bytes[i] = static_cast<char>(i % 251);
  return bytes;
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

struct Event {
  HttpProgressEvent Kind;
  uint64_t Received, Announced;
};

class NetWinTest : public testing::Test {
 public:
  void SetUp() override {
    if (Env("KVB_HTTP_PORT").empty())
      GTEST_SKIP() << "needs the servers of tests/e2e/net_transport_test.sh";
    folder =
        Env("KVB_NET_WORK") + "\\" + testing::UnitTest::GetInstance()->current_test_info()->name();
    CreateDirectoryA(folder.c_str(), nullptr);
    UseTransport({});
    h.State().Hooks.DownloadNotification = [this](HttpProgressEvent kind, uint64_t received,
                                                  uint64_t announced) {
      events.push_back({kind, received, announced});
      if (on_event)
        on_event(events.back());
    };
  }

  void UseTransport(const HttpClientLimits& limits) {
    h.State().Services.Http = CreateWinInetTransport(limits);
    ASSERT_NE(h.State().Services.Http, nullptr);
  }

  // Downloads with the script command into the test's folder; true when the file is there.
  bool Download(const std::string& url, const std::string& name) {
    events.clear();
    h.Execute({{"DOWNLOAD", {url, folder + "\\" + name}}});
    return Exists(Path(name));
  }

  std::string Path(const std::string& name) const { return folder + "\\" + name; }

  // True when no temporary download file is left in the folder.
  bool NoTemporaryFiles() const {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(Path("*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
      return true;
    FindClose(search);
    return false;
  }

  // The events of the last download: start, blocks, end. Checks their order and returns
  // the block events.
  std::vector<Event> Blocks() {
    EXPECT_GE(events.size(), 2u);
    if (events.size() < 2)
      return {};
    EXPECT_EQ(events.front().Kind, HttpProgressEvent::kStart);
    EXPECT_EQ(events.back().Kind, HttpProgressEvent::kEnd);
    std::vector<Event> blocks(events.begin() + 1, events.end() - 1);
    uint64_t previous = 0;
    for (const Event& e : blocks) {
      EXPECT_EQ(e.Kind, HttpProgressEvent::kData);
      EXPECT_GT(e.Received, previous);
      previous = e.Received;
    }
    return blocks;
  }

  ScriptHarness h;
  std::string folder;
  std::vector<Event> events;
  std::function<void(const Event&)> on_event;
  bool cancelled_during_download = false;
};

TEST_F(NetWinTest, LargeDownloadReportsProgressPerBlock) {
  constexpr uint64_t kSize = 4 * 1024 * 1024;
  ASSERT_TRUE(Download(HttpUrl("/data/" + std::to_string(kSize)), "big.bin"));
  EXPECT_TRUE(ReadFile(Path("big.bin")) == Pattern(kSize));
  const std::vector<Event> blocks = Blocks();
  ASSERT_GE(blocks.size(), 4u);
  int position = 0;
  for (const Event& e : blocks) {
    EXPECT_EQ(e.Announced, kSize);
    const int next = DownloadProgressPosition(e.Received, e.Announced);
    EXPECT_GE(next, position);
    position = next;
  }
  EXPECT_EQ(blocks.back().Received, kSize);
  EXPECT_EQ(position, 100);
  EXPECT_TRUE(NoTemporaryFiles());
}

TEST_F(NetWinTest, ChunkedBodyWithoutLength) {
  ASSERT_TRUE(Download(HttpUrl("/chunked/300000"), "chunked.bin"));
  EXPECT_TRUE(ReadFile(Path("chunked.bin")) == Pattern(300000));
  const std::vector<Event> blocks = Blocks();
  ASSERT_FALSE(blocks.empty());
  for (const Event& e : blocks) {
    EXPECT_EQ(e.Announced, 0u);
    EXPECT_LT(DownloadProgressPosition(e.Received, e.Announced), 100);
  }
  EXPECT_EQ(blocks.back().Received, 300000u);
}

TEST_F(NetWinTest, RedirectIsFollowed) {
  ASSERT_TRUE(Download(HttpUrl("/redirect/1000"), "moved.bin"));
  EXPECT_TRUE(ReadFile(Path("moved.bin")) == Pattern(1000));
}

TEST_F(NetWinTest, FailedDownloadsLeaveNoPartialFileAndKeepTheTarget) {
  const std::string untrusted = "https://localhost:" + Env("KVB_HTTPS_UNTRUSTED_PORT") + "/text";
  const std::string cases[] = {
      HttpUrl("/missing"),       // 404
      HttpUrl("/short/200000"),  // connection closed before the announced length
      "http://127.0.0.1:1/x",    // connection refused
      "ftp://127.0.0.1/x",       // not HTTP
      untrusted,                 // certificate not trusted
  };
  for (const std::string& url : cases) {
    EXPECT_FALSE(Download(url, "new.bin")) << url;
    Blocks();
    std::ofstream(Path("kept.bin"), std::ios::binary) << "old";
    Download(url, "kept.bin");
    EXPECT_EQ(ReadFile(Path("kept.bin")), "old") << url;
    EXPECT_TRUE(NoTemporaryFiles()) << url;
  }
}

// A download runs while a posted window message is handled: its handler runs a script
// with CANCELDOWNLOAD, as a control of the wizard would, and the download ends without a
// file. The same slow download runs to its end when nobody cancels it.
TEST_F(NetWinTest, CancelDownloadFromAScriptWhileMessagesFlow) {
  struct Window {
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM w, LPARAM l) {
      if (message == WM_APP) {
        auto* test = reinterpret_cast<NetWinTest*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        test->h.Execute({{"CANCELDOWNLOAD"}});
        test->cancelled_during_download =
            !test->events.empty() && test->events.back().Kind != HttpProgressEvent::kEnd;
        return 0;
      }
      return DefWindowProcA(window, message, w, l);
    }
  };
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = Window::Proc;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = "KvbNetTestWindow";
  RegisterClassA(&window_class);
  const HWND window = CreateWindowA("KvbNetTestWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    window_class.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

  const std::string url = HttpUrl("/slow/65536");
  bool posted = false;
  on_event = [&](const Event& e) {
    if (e.Kind == HttpProgressEvent::kData && e.Received >= 4096 && !posted)
      posted = PostMessageA(window, WM_APP, 0, 0);
  };
  EXPECT_FALSE(Download(url, "slow.bin"));
  EXPECT_TRUE(cancelled_during_download);
  EXPECT_EQ(events.back().Kind, HttpProgressEvent::kEnd);
  const std::vector<Event> blocks = Blocks();
  ASSERT_FALSE(blocks.empty());
  EXPECT_LT(blocks.back().Received, 65536u);
  EXPECT_TRUE(NoTemporaryFiles());

  on_event = nullptr;
  EXPECT_TRUE(Download(url, "slow.bin"));
  EXPECT_EQ(ReadFile(Path("slow.bin")).size(), 65536u);
  DestroyWindow(window);
}

TEST_F(NetWinTest, ServerThatNeverAnswersTimesOut) {
  UseTransport({.InactivityMs = 1500});
  h.vars.SetVariable("%Text%", "before");
  h.Execute({{"GETTEXT", {"%Text%", HttpUrl("/silent")}}});
  EXPECT_EQ(h.Value("%Text%"), "");
  EXPECT_FALSE(Download(HttpUrl("/silent"), "silent.bin"));
  EXPECT_TRUE(NoTemporaryFiles());
}

TEST_F(NetWinTest, PostGetTextAndOnlineCheck) {
  h.vars.SetVariable("%Name%", "Ann Lee");
  h.State().Options.OnlineCheckUrl = HttpUrl("/text");
  h.Execute({{"POST", {HttpUrl("/post/form a"), "name=%Name%&n=1"}},
             {"GETTEXT", {"%Posted%", HttpUrl("/last-post")}},
             {"POST", {HttpUrl("/post/empty"), ""}},
             {"GETTEXT", {"%Empty%", HttpUrl("/last-post")}},
             {"GETTEXT", {"%Text%", HttpUrl("/text")}},
             {"GETTEXT", {"%Spaces%", HttpUrl("/echo/a b")}},
             {"SET", {"%Missing%", "before"}},
             {"GETTEXT", {"%Missing%", HttpUrl("/missing")}},
             {"ONLINECHECK", {"%Online%"}}});
  EXPECT_EQ(h.Value("%Posted%"),
            "POST /post/form%20a|application/x-www-form-urlencoded|name=Ann Lee&n=1");
  EXPECT_EQ(h.Value("%Empty%"), "POST /post/empty||");
  EXPECT_EQ(h.Value("%Text%"), "hello from the server");
  EXPECT_EQ(h.Value("%Spaces%"), "GET /echo/a%20b");
  EXPECT_EQ(h.Value("%Missing%"), "");
  EXPECT_EQ(h.Value("%Online%"), "1");

  h.State().Options.OnlineCheckUrl = HttpUrl("/missing");
  h.Execute({{"ONLINECHECK", {"%Online%"}}});
  EXPECT_EQ(h.Value("%Online%"), "0");
}

TEST_F(NetWinTest, HttpsChecksTheCertificate) {
  const std::string trusted = "https://localhost:" + Env("KVB_HTTPS_PORT");
  const std::string untrusted = "https://localhost:" + Env("KVB_HTTPS_UNTRUSTED_PORT");
  h.Execute({{"GETTEXT", {"%Trusted%", trusted + "/text"}},
             {"SET", {"%Untrusted%", "before"}},
             {"GETTEXT", {"%Untrusted%", untrusted + "/text"}}});
  EXPECT_EQ(h.Value("%Trusted%"), "hello from the server");
  EXPECT_EQ(h.Value("%Untrusted%"), "");
  EXPECT_TRUE(Download(trusted + "/data/100000", "secure.bin"));
  EXPECT_TRUE(ReadFile(Path("secure.bin")) == Pattern(100000));
  EXPECT_FALSE(Download(untrusted + "/data/100000", "insecure.bin"));
}

}  // namespace
}  // namespace kvb
