// The web component's own string table (the attribute pages have theirs,
// webbot/attributes/attribute_strings.h): the Edit entry's General page and
// the messages of the Edit entry itself.
//
// 10300 and 10301 are the system's ids, with the component's wider range;
// 10310 is the component's text for an insertion program that cannot be
// started, which would otherwise fail without a word.
#ifndef ZV_WEBBOT_EDIT_EDIT_STRINGS_H
#define ZV_WEBBOT_EDIT_EDIT_STRINGS_H

#include <string>
#include <string_view>

#include "platform/message_presenter.h"
#include "platform/string_table.h"

namespace zv::webbot {

enum EditStringId : unsigned {
  kIdsGeneralPageTitle = 106,           // the General page's tab
  kIdsGeneralIntroduction = 1020,       // its first line, in bold
  kIdsPlayCountNotANumber = 10300,
  kIdsPlayCountOutOfRange = 10301,
  kIdsInsertBotNotStarted = 10310,      // %s: the program's path and the reason
};

StringTable editStringTable();
std::string editMessage(unsigned id, std::string_view value = {});
void showEditMessage(MessagePresenter& presenter, unsigned id, std::string_view value = {});

}  // namespace zv::webbot

#endif  // ZV_WEBBOT_EDIT_EDIT_STRINGS_H
