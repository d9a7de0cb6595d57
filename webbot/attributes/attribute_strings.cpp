#include "webbot/attributes/attribute_strings.h"

#include "widgets/dialog_exchange.h"
#include "webbot/attributes/attribute_build.h"

namespace zv {

namespace {

constexpr StringTableEntry kAttributeStrings[] = {
    {kIdsAttributeSheetCaption,
     kAttributesForEditBot ? "Applet Attributes" : "Advanced Applet Attributes"},
    {kIdsValueQuotesUnbalanced,
     "The value contains spaces.  There are either no double-quotes around the value or the "
     "double-quotes are unbalanced.  Would you like it to be fixed automatically?"},
    {kIdsValueInnerQuote,
     "It is not allowed to have a double-quote in the middle of a value.  They are only allowed "
     "at the beginning an the end of the value."},
    {kIdsNameHasSpace, "There are no spaces allowed in the attribute name."},
    {kIdsNameBadCharacter, "The character '%c' cannot be used in the attribute name."},
    {kIdsReplaceAttribute,
     "The '%s' attribute is already in the list.  Would you like to replace it?"},
    {kIdsDeleteAttribute, "Are you sure that you would like to delete the '%s' attribute?"},
};

}  // namespace

StringTable attributeStringTable() { return kAttributeStrings; }

std::string attributeMessage(unsigned id, std::string_view value) {
  return loadMessage(kAttributeStrings, id, value);
}

void showAttributeMessage(MessagePresenter& presenter, unsigned id, std::string_view value) {
  presenter.present({kDialogMessageCaption, attributeMessage(id, value), MessageKind::Information});
}

MessageAnswer askAttributeQuestion(MessagePresenter& presenter, unsigned id,
                                   std::string_view value) {
  return presenter.present({kDialogMessageCaption, attributeMessage(id, value),
                            MessageKind::Question});
}

}  // namespace zv
