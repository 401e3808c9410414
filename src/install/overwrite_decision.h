// Whether a file of the package replaces a file already at its target: the ten overwrite
// modes, the version and date comparison, the overwrite questions with their remembered
// answers and the one-time warning. Decided from facts about the target gathered
// beforehand; nothing here touches a file, so the whole table is tested as data.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "base/message_icon.h"
#include "install/install_host.h"

namespace kvb {

// Overwrite modes of a file record; any other value behaves as kAskExisting.
enum OverwriteMode : uint8_t {
  kModeAsk = 0,              // ask; declining shows the one-time warning
  kModeAskNoSkip = 1,        // ask; declining is refused and the question repeats
  kModeKeep = 2,             // keep an existing file
  kModeReplaceExisting = 3,  // replace an existing file, install nothing where none is
  kModeNewerVersion = 4,     // replace silently when the new version is higher
  kModeNewerDate = 5,        // replace silently when the new date is later
  kModeReplace = 6,          // always install
  kModeAskExisting = 7,      // ask when one exists, install nothing where none is
  kModeAskVersion = 8,       // compare versions and ask "newer" or "older"
  kModeAskDate = 9,          // compare dates and ask "newer" or "older"
};

// Message numbers of the three questions and of the two notices.
inline constexpr int kQuestionExists = 25;
inline constexpr int kQuestionNewer = 26;
inline constexpr int kQuestionOlder = 27;
inline constexpr int kMessageSkipWarning = 14;
inline constexpr int kMessageCannotSkip = 15;

// Remembered answers of one installation: 0 ask, 1 "Yes To All" given, 2 "No To All" given.
struct OverwriteMemory {
  int32_t NewerAnswer = 0;
  int32_t OlderAnswer = 0;
  int32_t ExistsAnswer = 0;
  bool SkipWarned = false;  // the warning that skipping may cause errors has been shown
};

// What is known about the target and the new file before deciding.
struct OverwriteCase {
  uint8_t Mode = kModeAskVersion;
  bool TargetExists = false;
  uint32_t ExistingVersionHigh = 0;  // 0.0 when the existing file has no version
  uint32_t ExistingVersionLow = 0;
  int64_t ExistingDate = -1;  // DOS date and time of the existing file; -1 unknown
  uint32_t NewVersionHigh = 0;
  uint32_t NewVersionLow = 0;
  uint32_t NewDate = 0;
};

// The decision before any question: install, skip, or ask one of the three questions.
struct OverwriteStep {
  enum Kind { kInstall, kSkip, kAsk };
  Kind Action = kSkip;
  int Question = 0;  // kQuestionExists, kQuestionNewer or kQuestionOlder when kAsk
};

// Compares the new file with the existing one: mode 8 by version (most significant word
// first), mode 9 by date. 1 when the new one is higher or later, -1 when lower or
// earlier, 0 when equal and for every other mode.
int VersionCompare(uint32_t existing_high,
                   uint32_t existing_low,
                   int64_t existing_date,
                   uint8_t mode,
                   uint32_t new_high,
                   uint32_t new_low,
                   int64_t new_date);

OverwriteStep DecideOverwrite(const OverwriteCase& file, const OverwriteMemory& memory);

// The effect of one answer to a question.
struct AnswerEffect {
  enum Kind { kInstall, kSkip, kAskAgain, kCancel };
  Kind Outcome = kSkip;
  int Notice = 0;  // message to show first (14 or 15), 0 for none
  MessageIcon NoticeIcon = MessageIcon::kInformation;
};

// Applies an answer to `question` for a file of `mode`: stores "Yes To All" and
// "No To All" in the question's remembered answer and sets SkipWarned when the warning
// is due. kCancel means: ask the wizard to close, then skip if that aborted the
// installation, else ask again.
AnswerEffect ApplyAnswer(int question, uint8_t mode, PromptAnswer answer, OverwriteMemory& memory);

// The whole decision for one file. `ask` shows the question and returns the answer,
// `notify` shows a notice, `request_close` asks the wizard to close and returns true
// when the installation is now aborted. Returns whether to install the file.
bool ResolveOverwrite(const OverwriteCase& file,
                      OverwriteMemory& memory,
                      const std::function<PromptAnswer(int question)>& ask,
                      const std::function<void(int message, MessageIcon icon)>& notify,
                      const std::function<bool()>& request_close);

}  // namespace kvb
