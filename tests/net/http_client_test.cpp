#include "net/http_client.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>

namespace kvb {
namespace {

// The network and files behind a client, played by the test: every wait of the client
// runs the next scripted step (news from the server, a script cancelling the download),
// or, when none is left, lets the clock run on by the time waited.
struct FakeNet {
  using Step = std::function<void(HttpChannel& channel)>;
  std::deque<Step> steps;
  std::vector<HttpRequest> requests;
  std::shared_ptr<HttpChannel> channel;
  uint64_t now = 0;
  int waits = 0;
  bool quit = false;
  bool writes_fail = false;
  std::map<std::string, std::string> files;  // committed downloads by target
  int open_downloads = 0;                    // download files not yet committed or discarded
};

class FakeDownloadFile : public DownloadFile {
 public:
  FakeDownloadFile(FakeNet& net, std::string target) : net_(net), target_(std::move(target)) {
    ++net_.open_downloads;
  }
  ~FakeDownloadFile() override { --net_.open_downloads; }
  bool Write(std::string_view data) override {
    data_.append(data);
    return !net_.writes_fail;
  }
  bool Commit() override {
    net_.files[target_] = data_;
    return true;
  }

 private:
  FakeNet& net_;
  std::string target_;
  std::string data_;
};

class FakeSignal : public HttpSignal {
 public:
  explicit FakeSignal(FakeNet& net) : net_(net) {}
  void Wake() override {}
  bool Wait(uint32_t milliseconds) override {
    ++net_.waits;
    if (net_.quit)
      return false;
    if (net_.steps.empty()) {
      net_.now += milliseconds;
    } else {
      FakeNet::Step step = std::move(net_.steps.front());
      net_.steps.pop_front();
      step(*net_.channel);
    }
    return true;
  }

 private:
  FakeNet& net_;
};

class FakePlatform : public HttpPlatform {
 public:
  explicit FakePlatform(FakeNet& net) : net_(net) {}
  std::shared_ptr<HttpSignal> CreateSignal() override { return std::make_shared<FakeSignal>(net_); }
  bool StartExchange(const HttpRequest& request, std::shared_ptr<HttpChannel> channel) override {
    net_.requests.push_back(request);
    net_.channel = std::move(channel);
    return true;
  }
  uint64_t NowMs() override { return net_.now; }
  std::unique_ptr<DownloadFile> CreateDownloadFile(const std::string& target) override {
    if (target.empty())
      return nullptr;
    return std::make_unique<FakeDownloadFile>(net_, target);
  }

 private:
  FakeNet& net_;
};

// Server steps.
FakeNet::Step Head(uint32_t status, std::optional<uint64_t> length = std::nullopt) {
  return [=](HttpChannel& c) { c.PutHead({status, length}); };
}
FakeNet::Step Data(std::vector<std::string> blocks) {
  return [=](HttpChannel& c) {
    for (const std::string& block : blocks)
      c.PutData(block);
  };
}
FakeNet::Step End(bool completed = true) {
  return [=](HttpChannel& c) { c.Finish(completed); };
}

struct Progress {
  uint64_t received, announced;
  bool operator==(const Progress&) const = default;
};

class HttpClientTest : public testing::Test {
 protected:
  HttpClientTest() { Recreate({}); }
  void Recreate(const HttpClientLimits& limits) {
    client = std::make_unique<HttpClient>(std::make_unique<FakePlatform>(net), limits);
  }
  bool Download(const std::string& target = "C:\\d\\f.bin") {
    return client->Download("http://h/f", target,
                            [&](HttpProgressEvent event, uint64_t received, uint64_t announced) {
                              EXPECT_EQ(event, HttpProgressEvent::kData);
                              progress.push_back({received, announced});
                            });
  }

  FakeNet net;
  std::unique_ptr<HttpClient> client;
  std::vector<Progress> progress;
};

TEST_F(HttpClientTest, DownloadReportsEveryBlockAndCommits) {
  net.steps = {Head(200, 10), Data({"abcd", "efgh"}), Data({"ij"}), End()};
  EXPECT_TRUE(Download());
  EXPECT_EQ(net.files["C:\\d\\f.bin"], "abcdefghij");
  EXPECT_EQ(progress, (std::vector<Progress>{{4, 10}, {8, 10}, {10, 10}}));
  ASSERT_EQ(net.requests.size(), 1u);
  EXPECT_EQ(net.requests[0].Method, "GET");
  EXPECT_EQ(net.requests[0].Url, "http://h/f");
}

TEST_F(HttpClientTest, FailedDownloadsLeaveNoFile) {
  struct Case {
    const char* name;
    std::deque<FakeNet::Step> steps;
    bool writes_fail = false;
  } cases[] = {
      {"not found", {Head(404, 3), Data({"err"}), End()}},
      {"server error", {Head(500), End()}},
      {"redirect not followed", {Head(302), End()}},
      {"shorter than announced", {Head(200, 10), Data({"abcde"}), End()}},
      {"transfer broken off", {Head(200), Data({"abc"}), End(false)}},
      {"no answer at all", {End(false)}},
      {"end without head", {End(true)}},
      {"write error", {Head(200, 3), Data({"abc"}), End()}, true},
  };
  for (Case& c : cases) {
    net.steps = std::move(c.steps);
    net.writes_fail = c.writes_fail;
    EXPECT_FALSE(Download()) << c.name;
    EXPECT_TRUE(net.files.empty()) << c.name;
    EXPECT_EQ(net.open_downloads, 0) << c.name;
  }
}

TEST_F(HttpClientTest, DownloadFileThatCannotBeCreatedSendsNothing) {
  EXPECT_FALSE(Download(""));
  EXPECT_TRUE(net.requests.empty());
}

TEST_F(HttpClientTest, CancelEndsTheRunningDownloadAndReleasesItsExchange) {
  net.steps = {Head(200, 100), Data({"abc"}), [&](HttpChannel&) { client->CancelDownload(); }};
  EXPECT_FALSE(Download());
  EXPECT_TRUE(net.files.empty());
  EXPECT_EQ(progress, (std::vector<Progress>{{3, 100}}));
  EXPECT_FALSE(net.channel->PutData("after")) << "the exchange's thread is told to stop";

  // A cancel with no download running does not reach the next one; other transfers
  // cannot be cancelled.
  client->CancelDownload();
  net.steps = {Head(200, 2), Data({"ok"}), End()};
  EXPECT_TRUE(Download());
  std::string body;
  net.steps = {Head(200), [&](HttpChannel&) { client->CancelDownload(); }, Data({"text"}), End()};
  EXPECT_TRUE(client->Get("http://h/t", body));
  EXPECT_EQ(body, "text");
}

TEST_F(HttpClientTest, SilenceEndsATransferAfterTheInactivityLimit) {
  Recreate({.InactivityMs = 1000});
  std::string body = "kept";
  net.steps = {Head(200)};
  EXPECT_FALSE(client->Get("http://h/silent", body));
  EXPECT_EQ(body, "kept");
  EXPECT_GE(net.now, 1000u);
  EXPECT_LT(net.now, 1300u);
  EXPECT_FALSE(net.channel->PutData("late"));

  // A slow server that keeps sending is not cut off.
  auto slow = [&](std::string block) {
    return [&, block](HttpChannel& c) {
      net.now += 900;
      c.PutData(block);
    };
  };
  net.now = 0;
  net.steps = {Head(200), slow("a"), slow("b"), slow("c"), End()};
  EXPECT_TRUE(client->Get("http://h/slow", body));
  EXPECT_EQ(body, "abc");
}

TEST_F(HttpClientTest, QuitEndsTheWait) {
  net.quit = true;
  EXPECT_FALSE(Download());
  EXPECT_EQ(net.waits, 1);
  EXPECT_EQ(net.open_downloads, 0);
}

TEST_F(HttpClientTest, GetKeepsTextsWithinTheLimit) {
  Recreate({.MaxTextBytes = 6});
  std::string body;
  net.steps = {Head(200), Data({"abc", "def"}), End()};
  EXPECT_TRUE(client->Get("http://h/t", body));
  EXPECT_EQ(body, "abcdef");
  body = "kept";
  net.steps = {Head(200), Data({"abc", "defg"}), End()};
  EXPECT_FALSE(client->Get("http://h/t", body));
  EXPECT_EQ(body, "kept");
  net.steps = {Head(204), End()};
  EXPECT_TRUE(client->Get("http://h/empty", body));
  EXPECT_EQ(body, "");
}

TEST_F(HttpClientTest, PostSendsTheDataAndWantsOnlyTheStatus) {
  net.steps = {Head(200, 1000), End()};
  EXPECT_TRUE(client->Post("http://h/p", "a=1&b=2"));
  ASSERT_EQ(net.requests.size(), 1u);
  EXPECT_EQ(net.requests[0].Method, "POST");
  EXPECT_EQ(net.requests[0].Body, "a=1&b=2");
  EXPECT_FALSE(net.requests[0].ReadBody);
  net.steps = {Head(503), End()};
  EXPECT_FALSE(client->Post("http://h/p", ""));
}

}  // namespace
}  // namespace kvb
