// The wizard's icon: a loudspeaker sending sound waves, white on a blue
// rounded square. Drawn here so that the library needs no image files; the
// desktop entry's icon (data/zvwizard.svg) is the same picture.
#ifndef ZV_WIZARD_WIZARD_ICON_H
#define ZV_WIZARD_WIZARD_ICON_H

#include <QIcon>
#include <QPixmap>

namespace zv {

// The picture at `size` x `size` pixels.
QPixmap wizardIconPixmap(int size);

// The icon at the sizes window managers ask for (16 to 128 pixels).
QIcon wizardIcon();

}  // namespace zv

#endif  // ZV_WIZARD_WIZARD_ICON_H
