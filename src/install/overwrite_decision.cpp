#include "install/overwrite_decision.h"

namespace kvb {
namespace {

int Sign(int64_t value) {
  return value > 0 ? 1 : (value < 0 ? -1 : 0);
}

bool InstallsWhenMissing(uint8_t mode) {
  switch (mode) {
    case kModeAsk:
    case kModeAskNoSkip:
    case kModeKeep:
    case kModeNewerVersion:
    case kModeNewerDate:
    case kModeReplace:
    case kModeAskVersion:
    case kModeAskDate:
      return true;
    default:
      return false;
  }
}

// The remembered answer of a question.
int32_t& Remembered(int question, OverwriteMemory& memory) {
  if (question == kQuestionNewer)
    return memory.NewerAnswer;
  if (question == kQuestionOlder)
    return memory.OlderAnswer;
  return memory.ExistsAnswer;
}

OverwriteStep FromRemembered(int question, int32_t answer) {
  if (answer == 1)
    return {OverwriteStep::kInstall, 0};
  if (answer == 2)
    return {OverwriteStep::kSkip, 0};
  return {OverwriteStep::kAsk, question};
}

// Modes 8 and 9: the comparison picks the question, equal files are replaced.
OverwriteStep CompareAndAsk(const OverwriteCase& file, const OverwriteMemory& memory) {
  const int order =
      VersionCompare(file.ExistingVersionHigh, file.ExistingVersionLow, file.ExistingDate,
                     file.Mode, file.NewVersionHigh, file.NewVersionLow, file.NewDate);
  if (order > 0)
    return FromRemembered(kQuestionNewer, memory.NewerAnswer);
  if (order < 0)
    return FromRemembered(kQuestionOlder, memory.OlderAnswer);
  return {OverwriteStep::kInstall, 0};
}

// Modes 0, 1, 7 and every unknown mode: the "already exists" question.
OverwriteStep AskExisting(uint8_t mode, const OverwriteMemory& memory) {
  if (memory.ExistsAnswer == 1)
    return {OverwriteStep::kInstall, 0};
  if (memory.ExistsAnswer == 2) {
    // "No To All" cannot skip a file that may not be skipped, nor the first declined file
    // of mode 0, which brings the warning.
    const bool ask = mode == kModeAskNoSkip || (mode == kModeAsk && !memory.SkipWarned);
    return ask ? OverwriteStep{OverwriteStep::kAsk, kQuestionExists}
               : OverwriteStep{OverwriteStep::kSkip, 0};
  }
  return {OverwriteStep::kAsk, kQuestionExists};
}

}  // namespace

int VersionCompare(uint32_t existing_high,
                   uint32_t existing_low,
                   int64_t existing_date,
                   uint8_t mode,
                   uint32_t new_high,
                   uint32_t new_low,
                   int64_t new_date) {
  if (mode == kModeAskVersion) {
    if (new_high != existing_high)
      return new_high > existing_high ? 1 : -1;
    if (new_low != existing_low)
      return new_low > existing_low ? 1 : -1;
    return 0;
  }
  if (mode == kModeAskDate)
    return Sign(new_date - existing_date);
  return 0;
}

OverwriteStep DecideOverwrite(const OverwriteCase& file, const OverwriteMemory& memory) {
  if (!file.TargetExists) {
    return InstallsWhenMissing(file.Mode) ? OverwriteStep{OverwriteStep::kInstall, 0}
                                          : OverwriteStep{OverwriteStep::kSkip, 0};
  }
  switch (file.Mode) {
    case kModeNewerVersion: {
      const bool newer =
          VersionCompare(file.ExistingVersionHigh, file.ExistingVersionLow, 0, kModeAskVersion,
                         file.NewVersionHigh, file.NewVersionLow, 0) == 1;
      return {newer ? OverwriteStep::kInstall : OverwriteStep::kSkip, 0};
    }
    case kModeNewerDate: {
      const bool later =
          VersionCompare(0, 0, file.ExistingDate, kModeAskDate, 0, 0, file.NewDate) == 1;
      return {later ? OverwriteStep::kInstall : OverwriteStep::kSkip, 0};
    }
    case kModeAskVersion:
    case kModeAskDate:
      return CompareAndAsk(file, memory);
    case kModeKeep:
      return {OverwriteStep::kSkip, 0};
    case kModeReplaceExisting:
    case kModeReplace:
      return {OverwriteStep::kInstall, 0};
    default:
      return AskExisting(file.Mode, memory);
  }
}

AnswerEffect ApplyAnswer(int question, uint8_t mode, PromptAnswer answer, OverwriteMemory& memory) {
  if (answer == PromptAnswer::kCancel)
    return {AnswerEffect::kCancel};
  if (answer == PromptAnswer::kYesToAll)
    Remembered(question, memory) = 1;
  else if (answer == PromptAnswer::kNoToAll)
    Remembered(question, memory) = 2;

  const bool declined = answer == PromptAnswer::kNo || answer == PromptAnswer::kNoToAll;
  if (question != kQuestionExists) {
    const bool yes = answer == PromptAnswer::kYes || answer == PromptAnswer::kYesToAll;
    return {yes ? AnswerEffect::kInstall : AnswerEffect::kSkip};
  }
  if (!declined)
    return {AnswerEffect::kInstall};
  if (mode == kModeAsk && !memory.SkipWarned) {
    memory.SkipWarned = true;
    return {AnswerEffect::kSkip, kMessageSkipWarning, MessageIcon::kInformation};
  }
  if (mode == kModeAskNoSkip)
    return {AnswerEffect::kAskAgain, kMessageCannotSkip, MessageIcon::kStop};
  return {AnswerEffect::kSkip};
}

bool ResolveOverwrite(const OverwriteCase& file,
                      OverwriteMemory& memory,
                      const std::function<PromptAnswer(int question)>& ask,
                      const std::function<void(int message, MessageIcon icon)>& notify,
                      const std::function<bool()>& request_close) {
  const OverwriteStep step = DecideOverwrite(file, memory);
  if (step.Action != OverwriteStep::kAsk)
    return step.Action == OverwriteStep::kInstall;
  for (;;) {
    const AnswerEffect effect = ApplyAnswer(step.Question, file.Mode, ask(step.Question), memory);
    if (effect.Notice != 0)
      notify(effect.Notice, effect.NoticeIcon);
    switch (effect.Outcome) {
      case AnswerEffect::kInstall:
        return true;
      case AnswerEffect::kSkip:
        return false;
      case AnswerEffect::kCancel:
        if (request_close())
          return false;
        break;
      case AnswerEffect::kAskAgain:
        break;
    }
  }
}

}  // namespace kvb
