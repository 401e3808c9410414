// The overwrite rules decided as data: every mode against a present or missing target,
// the version and date comparisons, remembered answers and the answers to each question.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "install/overwrite_decision.h"

namespace kvb {
namespace {

constexpr auto I = OverwriteStep::kInstall;
constexpr auto S = OverwriteStep::kSkip;
constexpr auto A = OverwriteStep::kAsk;

TEST(VersionCompareTest, VersionsByWordsDatesByValueOtherModesEqual) {
  EXPECT_EQ(VersionCompare(1, 5, 0, 8, 2, 0, 0), 1);
  EXPECT_EQ(VersionCompare(2, 0, 0, 8, 1, 9, 0), -1);
  EXPECT_EQ(VersionCompare(1, 5, 0, 8, 1, 6, 0), 1);
  EXPECT_EQ(VersionCompare(1, 6, 0, 8, 1, 5, 0), -1);
  EXPECT_EQ(VersionCompare(1, 5, 0, 8, 1, 5, 0), 0);
  // Words compare unsigned: 0x80000000 is a high version, not a negative one.
  EXPECT_EQ(VersionCompare(1, 0, 0, 8, 0x80000000u, 0, 0), 1);
  EXPECT_EQ(VersionCompare(0, 0, 100, 9, 0, 0, 200), 1);
  EXPECT_EQ(VersionCompare(0, 0, 200, 9, 0, 0, 100), -1);
  EXPECT_EQ(VersionCompare(0, 0, 100, 9, 0, 0, 100), 0);
  EXPECT_EQ(VersionCompare(0, 0, -1, 9, 0, 0, 0), 1);  // unknown existing date
  EXPECT_EQ(VersionCompare(1, 0, 1, 4, 2, 0, 2), 0);
}

struct DecideCase {
  int mode;
  bool exists;
  OverwriteMemory memory;
  OverwriteStep::Kind action;
  int question;
};

TEST(DecideOverwriteTest, EveryModeWithTargetPresentOrMissing) {
  const OverwriteMemory none;
  const OverwriteMemory yes_all{0, 0, 1, false};
  const OverwriteMemory no_all{0, 0, 2, false};
  const OverwriteMemory no_all_warned{0, 0, 2, true};
  const std::vector<DecideCase> cases = {
      // Missing targets: every mode but 3, 7 and unknown modes installs.
      {0, false, none, I, 0},
      {1, false, none, I, 0},
      {2, false, none, I, 0},
      {3, false, none, S, 0},
      {4, false, none, I, 0},
      {5, false, none, I, 0},
      {6, false, none, I, 0},
      {7, false, none, S, 0},
      {8, false, none, I, 0},
      {9, false, none, I, 0},
      {10, false, none, S, 0},
      {255, false, none, S, 0},
      // Present targets without remembered answers (equal versions and dates).
      {0, true, none, A, 25},
      {1, true, none, A, 25},
      {2, true, none, S, 0},
      {3, true, none, I, 0},
      {4, true, none, S, 0},
      {5, true, none, S, 0},
      {6, true, none, I, 0},
      {7, true, none, A, 25},
      {8, true, none, I, 0},
      {9, true, none, I, 0},
      {12, true, none, A, 25},
      // "Yes To All" to the exists question answers it for every asking mode.
      {0, true, yes_all, I, 0},
      {1, true, yes_all, I, 0},
      {7, true, yes_all, I, 0},
      {2, true, yes_all, S, 0},
      // "No To All": mode 1 is asked anyway, mode 0 until the warning has been shown.
      {0, true, no_all, A, 25},
      {0, true, no_all_warned, S, 0},
      {1, true, no_all_warned, A, 25},
      {7, true, no_all, S, 0},
      {3, true, no_all, I, 0},
      {6, true, no_all, I, 0},
  };
  for (const DecideCase& c : cases) {
    OverwriteCase file;
    file.Mode = static_cast<uint8_t>(c.mode);
    file.TargetExists = c.exists;
    file.ExistingDate = 0;
    const OverwriteStep step = DecideOverwrite(file, c.memory);
    EXPECT_EQ(step.Action, c.action) << "mode " << c.mode << " exists " << c.exists;
    EXPECT_EQ(step.Question, c.question) << "mode " << c.mode << " exists " << c.exists;
  }
}

TEST(DecideOverwriteTest, ComparingModesPickTheirQuestionAndItsRememberedAnswer) {
  OverwriteCase newer;
  newer.TargetExists = true;
  newer.Mode = kModeAskVersion;
  newer.ExistingVersionHigh = 1;
  newer.NewVersionHigh = 2;
  OverwriteCase older = newer;
  older.NewVersionHigh = 0;
  EXPECT_EQ(DecideOverwrite(newer, {}).Question, kQuestionNewer);
  EXPECT_EQ(DecideOverwrite(older, {}).Question, kQuestionOlder);
  // "Yes To All" to "newer" answers neither "older" nor "already exists".
  const OverwriteMemory newer_yes{1, 0, 0, false};
  EXPECT_EQ(DecideOverwrite(newer, newer_yes).Action, I);
  EXPECT_EQ(DecideOverwrite(older, newer_yes).Action, A);
  EXPECT_EQ(DecideOverwrite(older, {0, 2, 0, false}).Action, S);

  OverwriteCase later;
  later.TargetExists = true;
  later.Mode = kModeAskDate;
  later.ExistingDate = 100;
  later.NewDate = 200;
  EXPECT_EQ(DecideOverwrite(later, {}).Question, kQuestionNewer);
  later.NewDate = 50;
  EXPECT_EQ(DecideOverwrite(later, {}).Question, kQuestionOlder);

  // Modes 4 and 5 replace silently only a lower version or an earlier date.
  OverwriteCase silent = newer;
  silent.Mode = kModeNewerVersion;
  EXPECT_EQ(DecideOverwrite(silent, {}).Action, I);
  silent.NewVersionHigh = 1;
  EXPECT_EQ(DecideOverwrite(silent, {}).Action, S);
  OverwriteCase dated = later;
  dated.Mode = kModeNewerDate;
  dated.NewDate = 101;
  EXPECT_EQ(DecideOverwrite(dated, {}).Action, I);
  dated.NewDate = 100;
  EXPECT_EQ(DecideOverwrite(dated, {}).Action, S);
}

// One run of the whole decision with scripted answers.
struct Resolution {
  bool installed = false;
  std::vector<int> questions;
  std::vector<int> notices;
  int close_requests = 0;
};

Resolution Resolve(const OverwriteCase& file,
                   OverwriteMemory& memory,
                   std::deque<PromptAnswer> answers,
                   std::deque<bool> closes = {}) {
  Resolution run;
  run.installed = ResolveOverwrite(
      file, memory,
      [&](int question) {
        run.questions.push_back(question);
        PromptAnswer a = answers.empty() ? PromptAnswer::kCancel : answers.front();
        if (!answers.empty())
          answers.pop_front();
        return a;
      },
      [&](int message, MessageIcon) { run.notices.push_back(message); },
      [&] {
        ++run.close_requests;
        bool agreed = closes.empty() || closes.front();
        if (!closes.empty())
          closes.pop_front();
        return agreed;
      });
  return run;
}

OverwriteCase Existing(int mode) {
  OverwriteCase file;
  file.Mode = static_cast<uint8_t>(mode);
  file.TargetExists = true;
  return file;
}

using P = PromptAnswer;

TEST(ResolveOverwriteTest, AnswersToTheExistsQuestion) {
  struct Case {
    int mode;
    std::deque<P> answers;
    bool installed;
    std::vector<int> notices;
    int asked;
    int32_t exists_answer;
  };
  const std::vector<Case> cases = {
      {7, {P::kYes}, true, {}, 1, 0},
      {7, {P::kYesToAll}, true, {}, 1, 1},
      {7, {P::kNo}, false, {}, 1, 0},
      {7, {P::kNoToAll}, false, {}, 1, 2},
      // Mode 0: declining shows message 14 once.
      {0, {P::kNo}, false, {14}, 1, 0},
      {0, {P::kNoToAll}, false, {14}, 1, 2},
      // Mode 1: declining is refused with message 15 and asked again.
      {1, {P::kNo, P::kNoToAll, P::kYes}, true, {15, 15}, 3, 2},
  };
  for (const Case& c : cases) {
    OverwriteMemory memory;
    const Resolution run = Resolve(Existing(c.mode), memory, c.answers);
    EXPECT_EQ(run.installed, c.installed) << "mode " << c.mode;
    EXPECT_EQ(run.notices, c.notices) << "mode " << c.mode;
    EXPECT_EQ(static_cast<int>(run.questions.size()), c.asked) << "mode " << c.mode;
    EXPECT_EQ(memory.ExistsAnswer, c.exists_answer) << "mode " << c.mode;
  }
}

TEST(ResolveOverwriteTest, TheSkipWarningIsShownOnceEvenAfterNoToAll) {
  OverwriteMemory memory;
  EXPECT_EQ(Resolve(Existing(0), memory, {P::kNoToAll}).notices, std::vector<int>{14});
  const Resolution second = Resolve(Existing(0), memory, {});
  EXPECT_FALSE(second.installed);
  EXPECT_TRUE(second.questions.empty());
  EXPECT_TRUE(second.notices.empty());
}

TEST(ResolveOverwriteTest, OnlyYesInstallsForTheComparingQuestions) {
  OverwriteCase newer = Existing(kModeAskVersion);
  newer.NewVersionHigh = 3;
  for (P answer : {P::kYes, P::kYesToAll}) {
    OverwriteMemory memory;
    EXPECT_TRUE(Resolve(newer, memory, {answer}).installed);
  }
  for (P answer : {P::kNo, P::kNoToAll}) {
    OverwriteMemory memory;
    const Resolution run = Resolve(newer, memory, {answer});
    EXPECT_FALSE(run.installed);
    EXPECT_TRUE(run.notices.empty());
  }
  OverwriteMemory memory;
  Resolve(newer, memory, {P::kNoToAll});
  EXPECT_EQ(memory.NewerAnswer, 2);
  EXPECT_EQ(memory.ExistsAnswer, 0);
}

TEST(ResolveOverwriteTest, CancelAsksToCloseAndAsksAgainWhenTheUserStays) {
  OverwriteMemory memory;
  const Resolution stays = Resolve(Existing(7), memory, {P::kCancel, P::kYes}, {false});
  EXPECT_TRUE(stays.installed);
  EXPECT_EQ(stays.close_requests, 1);
  EXPECT_EQ(stays.questions.size(), 2u);

  const Resolution leaves = Resolve(Existing(1), memory, {P::kCancel}, {true});
  EXPECT_FALSE(leaves.installed);
  EXPECT_EQ(leaves.questions.size(), 1u);
}

}  // namespace
}  // namespace kvb
