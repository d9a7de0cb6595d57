// Drop-down lists whose value is the chosen entry's text.
#ifndef ZV_WEBBOT_ATTRIBUTES_COMBO_ENTRY_H
#define ZV_WEBBOT_ATTRIBUTES_COMBO_ENTRY_H

#include <string>

class QComboBox;

namespace zv {

// Chooses the entry whose text equals `text` ignoring letter case. A text
// that is none of the entries (an element name or alignment written by hand
// into a page) is added as a further entry and chosen, so that it survives
// the sheet unchanged.
void chooseComboEntry(QComboBox& list, const std::string& text);

}  // namespace zv

#endif  // ZV_WEBBOT_ATTRIBUTES_COMBO_ENTRY_H
