// Integer fields of dialogs: how the text of an edit box becomes a number,
// and the two texts shown when it does not.
//
// A dialog's integer field accepts optional blanks, an optional sign, at
// least one digit and optional trailing blanks, nothing else; anything else
// is refused with "Please enter an integer." (61712). A field with a range
// refuses a number outside it with "Please enter an integer between %1 and
// %2." (61713). Both texts belong to the dialog layer, not to any one
// library, so they live here.
#ifndef ZV_WIDGETS_DIALOG_INTEGER_H
#define ZV_WIDGETS_DIALOG_INTEGER_H

#include <optional>
#include <string>
#include <string_view>

#include "platform/string_table.h"

namespace zv {

enum DialogStringId : unsigned {
  kIdsParseInteger = 61712,       // "Please enter an integer."
  kIdsParseIntegerRange = 61713,  // "Please enter an integer between %1 and %2."
};

// The value of a dialog integer field's text, or nothing when the text is
// not an integer as described above. Blanks are spaces and tabs. A number
// that does not fit in an int is not an integer either.
std::optional<int> parseDialogInteger(std::string_view text);

// The value the way the C library's atoi() reads it: leading white space,
// an optional sign, the digits up to the first other character; 0 when there
// are none. Beyond the int range the nearest limit.
int leadingInteger(std::string_view text);

// The two texts above, by id.
StringTable dialogStringTable();

// "Please enter an integer."
std::string integerMessage();
// "Please enter an integer between <low> and <high>."
std::string integerRangeMessage(int low, int high);

}  // namespace zv

#endif  // ZV_WIDGETS_DIALOG_INTEGER_H
