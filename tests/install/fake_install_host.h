// A scripted stand-in for the wizard around the installation engine: answers the
// prompts from queues and records everything the engine shows.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "install/install_host.h"

namespace kvb::test {

class FakeInstallHost final : public InstallHost {
 public:
  // Answers, in order. An exhausted queue answers Cancel, and a close request then agrees.
  std::deque<PromptAnswer> answers;
  std::deque<bool> close_answers;
  std::deque<std::optional<std::string>> disk_answers;
  // Called with each progress position (a test may abort the engine from here).
  std::function<void(int)> on_position;
  // Called when the user agreed to close (the wizard then aborts the engine).
  std::function<void()> on_close;

  std::vector<OverwritePrompt> prompts;
  std::vector<DiskPrompt> disk_prompts;
  std::vector<std::pair<std::string, MessageIcon>> messages;
  std::vector<std::string> status_lines;
  std::vector<std::string> detail_lines;
  std::vector<int> positions;
  std::vector<std::string> billboards;
  int close_requests = 0;
  int pumps = 0;
  bool ended = false;

  void Status(StatusKind kind, const std::string& text, int value) override {
    if (kind == StatusKind::kStatusLine)
      status_lines.push_back(text);
    else if (kind == StatusKind::kDetailLine)
      detail_lines.push_back(text);
    else if (kind == StatusKind::kPosition) {
      positions.push_back(value);
      if (on_position)
        on_position(value);
    }
  }
  void ShowMessage(const std::string& text, MessageIcon icon) override {
    messages.emplace_back(text, icon);
  }
  PromptAnswer AskFileOverwrite(const OverwritePrompt& prompt) override {
    prompts.push_back(prompt);
    if (answers.empty())
      return PromptAnswer::kCancel;
    const PromptAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  bool RequestClose() override {
    ++close_requests;
    bool agreed = true;
    if (!close_answers.empty()) {
      agreed = close_answers.front();
      close_answers.pop_front();
    }
    if (agreed && on_close)
      on_close();
    return agreed;
  }
  std::optional<std::string> AskNextDisk(const DiskPrompt& prompt) override {
    disk_prompts.push_back(prompt);
    if (disk_answers.empty())
      return std::nullopt;
    auto answer = disk_answers.front();
    disk_answers.pop_front();
    return answer;
  }
  void ShowBillboard(const std::string& bitmap_file) override { billboards.push_back(bitmap_file); }
  void CloseBillboard() override { billboards.push_back("closed"); }
  bool ProcessMessages() override {
    ++pumps;
    return true;
  }
  void EndApplication() override { ended = true; }

  // The texts of the messages shown, in order.
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : messages)
      texts.push_back(m.first);
    return texts;
  }
};

}  // namespace kvb::test
