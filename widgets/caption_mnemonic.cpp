#include "widgets/caption_mnemonic.h"

namespace zv {

QString captionText(const QString& caption) {
  QString text;
  text.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    // The character after an '&' is read as it stands, whether it is the
    // marked letter or the second '&' of "&&".
    if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
    text += caption[i];
  }
  return text;
}

QString captionWithoutMnemonic(const QString& caption) {
  QString result;
  result.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&') {
      if (i + 1 >= caption.size() || caption[i + 1] != u'&') continue;  // the marker
      result += caption[i++];  // "&&" is kept whole
    }
    result += caption[i];
  }
  return result;
}

}  // namespace zv
