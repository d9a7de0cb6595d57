// Captions with a mnemonic: in a control's text a single '&' marks the
// letter after it as the Alt shortcut, and "&&" stands for one ampersand
// ("&About Z&&V Tavelworks..." reads "About Z&V Tavelworks..." with Alt+A).
//
// Two different things are wanted from such a caption, hence two functions:
//   captionText            the words as the user reads them, for an
//                          accessible name or a message: no marker, "&&"
//                          one '&';
//   captionWithoutMnemonic still a caption for setText(), only without a
//                          shortcut: the marker goes, "&&" stays "&&" so that
//                          the control still shows one '&'.
#ifndef ZV_WIDGETS_CAPTION_MNEMONIC_H
#define ZV_WIDGETS_CAPTION_MNEMONIC_H

#include <QString>

namespace zv {

// "&Save" -> "Save", "Z&&V" -> "Z&V"; a lone '&' at the end stays.
QString captionText(const QString& caption);

// "&Save" -> "Save", "Z&&V" -> "Z&&V"; a lone '&' at the end goes.
QString captionWithoutMnemonic(const QString& caption);

}  // namespace zv

#endif  // ZV_WIDGETS_CAPTION_MNEMONIC_H
