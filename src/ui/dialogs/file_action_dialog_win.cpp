#include "ui/dialogs/file_action_dialog_win.h"

#include "ui/base/modal_result.h"
#include "ui/dialogs/msg_box_files_win.h"

namespace kvb {
namespace {

FileAnswer AnswerOf(int modal_result) {
  switch (modal_result) {
    case kMrYes:
      return FileAnswer::kYes;
    case kMrYesToAll:
      return FileAnswer::kYesToAll;
    case kMrNoToAll:
      return FileAnswer::kNoToAll;
    default:
      return FileAnswer::kNo;  // No, or the question closed by its frame
  }
}

}  // namespace

FileAnswer FileActionDialog::Ask(const FileActionQuestion& question) {
  OverwriteTexts texts;
  texts.Caption = question.Caption;
  texts.Message = question.Message;
  texts.Yes = question.YesCaption;
  texts.YesToAll = question.YesToAllCaption;
  texts.No = question.NoCaption;
  texts.NoToAll = question.NoToAllCaption;
  texts.ExistingLabel = question.FileLabel;
  return AnswerOf(AskFileAction(owner_ ? owner_() : nullptr, texts, question.File));
}

}  // namespace kvb
