// The attribute pages' string table: the sheet's caption and every message
// the pages and the Tag Attribute dialog show, looked up by id.
//
// 103, 10100, 10101, 10103 and 10104 are the system's fixed ids; 10110 and
// 10111 number the list's two questions, which have no fixed id.
#ifndef ZV_WEBBOT_ATTRIBUTES_ATTRIBUTE_STRINGS_H
#define ZV_WEBBOT_ATTRIBUTES_ATTRIBUTE_STRINGS_H

#include <string>
#include <string_view>

#include "platform/message_presenter.h"
#include "platform/string_table.h"

namespace zv {

enum AttributeStringId : unsigned {
  kIdsAttributeSheetCaption = 103,    // differs between the two builds
  kIdsValueQuotesUnbalanced = 10100,  // question: repair the quotes?
  kIdsValueInnerQuote = 10101,
  kIdsNameHasSpace = 10103,
  kIdsNameBadCharacter = 10104,       // %c: the character
  kIdsReplaceAttribute = 10110,       // question; %s: the name
  kIdsDeleteAttribute = 10111,        // question; %s: the name
};

// This build's table.
StringTable attributeStringTable();

// The text of `id` with its placeholder (if any) replaced by `value`.
std::string attributeMessage(unsigned id, std::string_view value = {});

// Shows attributeMessage(id, value) with the application title as caption:
// an information message (OK), or a question answered Yes or No.
void showAttributeMessage(MessagePresenter& presenter, unsigned id, std::string_view value = {});
MessageAnswer askAttributeQuestion(MessagePresenter& presenter, unsigned id,
                                   std::string_view value = {});

}  // namespace zv

#endif  // ZV_WEBBOT_ATTRIBUTES_ATTRIBUTE_STRINGS_H
