// The two readings of a caption with a mnemonic marker, side by side on the
// same captions, so that a mix-up of the two shows at once.
#include "widgets/caption_mnemonic.h"

#include <gtest/gtest.h>

namespace zv {
namespace {

TEST(CaptionMnemonic, TextAndCaptionWithoutMnemonic) {
  struct Case {
    const char* caption;
    const char* text;            // as the user reads it
    const char* withoutMarker;   // still a caption, without its shortcut
  };
  const Case cases[] = {
      {"&Save", "Save", "Save"},
      {"Sa&ve", "Save", "Save"},
      {"Plain", "Plain", "Plain"},
      {"", "", ""},
      {"&About Z&&V Tavelworks...", "About Z&V Tavelworks...", "About Z&&V Tavelworks..."},
      {"&&", "&", "&&"},
      {"&&&x", "&x", "&&x"},
      {"Ends in &", "Ends in &", "Ends in "},
      {"Two && &Marks", "Two & Marks", "Two && Marks"},
      {"\xC3\xA9&t\xC3\xA9", "\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9"},
  };
  for (const Case& c : cases) {
    const QString caption = QString::fromUtf8(c.caption);
    EXPECT_EQ(captionText(caption).toStdString(), c.text) << c.caption;
    EXPECT_EQ(captionWithoutMnemonic(caption).toStdString(), c.withoutMarker) << c.caption;
  }
}

}  // namespace
}  // namespace zv
