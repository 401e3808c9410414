#include "setupdata/messages.h"

#include "base/text.h"

namespace kvb {

const TSetupMessage& SelectMessageTable(const TSetupData& data, std::string_view language) {
  if (data.Languages.empty())
    return data.LanguageLessMessages;
  for (const TSetupLanguage& candidate : data.Languages) {
    if (SameText(candidate.Name, language))
      return candidate.Messages;
  }
  for (const TSetupLanguage& candidate : data.Languages) {
    if (candidate.IsDefault)
      return candidate.Messages;
  }
  return data.Languages.front().Messages;
}

const std::string& GetMessageText(const TSetupData& data, int number, std::string_view language) {
  static const std::string kNone;
  if (number < 0 || number >= kMessageCount)
    return kNone;
  return SelectMessageTable(data, language).Texts[number];
}

std::string DefaultLanguageName(const TSetupData& data) {
  std::string name;
  for (const TSetupLanguage& language : data.Languages) {
    if (language.IsDefault)
      name = language.Name;
  }
  return name;
}

}  // namespace kvb
