#include "webbot/edit/edit_strings.h"

#include "widgets/dialog_exchange.h"

namespace zv::webbot {

namespace {

constexpr StringTableEntry kEditStrings[] = {
    {kIdsGeneralPageTitle, "General"},
    {kIdsGeneralIntroduction, "Select the appearance and behavior of the applet"},
    {kIdsPlayCountNotANumber,
     "The Play count value is not a valid number.  Please provide a decimal number between 1 and "
     "2,147,483,647 (without commas)."},
    {kIdsPlayCountOutOfRange,
     "The Play count value is not in a valid range.  Please provide a decimal number between 1 "
     "and 2,147,483,647 (without commas)."},
    {kIdsInsertBotNotStarted,
     "The page insertion program could not be started, so no audio clip can be added now.  %s"},
};

}  // namespace

StringTable editStringTable() { return kEditStrings; }

std::string editMessage(unsigned id, std::string_view value) {
  return loadMessage(kEditStrings, id, value);
}

void showEditMessage(MessagePresenter& presenter, unsigned id, std::string_view value) {
  showDialogMessage(presenter, editMessage(id, value));
}

}  // namespace zv::webbot
