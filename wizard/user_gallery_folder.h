// The user's own gallery: the clips a user added with "Add to gallery".
//
// The shipped gallery lies with the program's files, which a user may not
// write once it is installed; so what a user adds goes into a folder of the
// user's own data, "$XDG_DATA_HOME/zvtavelworks/Gallery", by default
// "~/.local/share/zvtavelworks/Gallery". The folder is made when the first
// clip is added, not before.
#ifndef ZV_WIZARD_USER_GALLERY_FOLDER_H
#define ZV_WIZARD_USER_GALLERY_FOLDER_H

#include <string>

namespace zv {

// The folder under the user's data folder, below.
inline constexpr char kUserGalleryFromDataHome[] = "zvtavelworks/Gallery";

// "<data home>/zvtavelworks/Gallery", without a trailing slash. The data
// home is $XDG_DATA_HOME when that is an absolute path (the base-directory
// rules say a relative one is to be ignored), else "<home>/.local/share",
// the home being $HOME or, when that is unset or empty, the home folder of
// the user's account. Empty when no home can be found at all.
std::string userGalleryDirectory();

}  // namespace zv

#endif  // ZV_WIZARD_USER_GALLERY_FOLDER_H
