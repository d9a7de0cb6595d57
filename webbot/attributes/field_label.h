// The label of a field on the attribute pages and the Tag Attribute dialog:
// its mnemonic leads to the field, and the field takes the label's text
// (read as captionText) as its accessible name, so that keyboard and
// screen-reader users reach it by what they see.
#ifndef ZV_WEBBOT_ATTRIBUTES_FIELD_LABEL_H
#define ZV_WEBBOT_ATTRIBUTES_FIELD_LABEL_H

#include <QLabel>
#include <QString>
#include <QWidget>

#include "widgets/caption_mnemonic.h"

namespace zv {

inline QLabel* labelFor(const QString& text, QWidget* field, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(field);
  field->setAccessibleName(captionText(text));
  return label;
}

}  // namespace zv

#endif  // ZV_WEBBOT_ATTRIBUTES_FIELD_LABEL_H
