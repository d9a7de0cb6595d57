// The gallery: the folder "Gallery" in the installation's private data folder
// (share/zvtavelworks/, found from the wizard library's folder), holding the
// finished clips (".zvsa" files) a user may pick again without compressing.
#ifndef ZV_WIZARD_GALLERY_FOLDER_H
#define ZV_WIZARD_GALLERY_FOLDER_H

#include <string>
#include <vector>

namespace zv {

inline constexpr char kGalleryFolderName[] = "Gallery";
inline constexpr char kClipExtension[] = ".zvsa";

// The gallery of the installation whose library folder is `libraryFolder`:
// "<private data folder>/Gallery", without a trailing slash. `libraryFolder`
// may end in a slash or not.
std::string galleryDirectoryIn(const std::string& libraryFolder);

// The names (without folder and ".zvsa") of the regular files in `directory`
// whose names end in ".zvsa", sorted without regard to letter case (names
// that differ only in case in byte order). Empty when the folder is missing
// or unreadable.
std::vector<std::string> listGalleryClips(const std::string& directory);

// The listing's order: true when clip name `a` comes before `b`.
bool galleryClipNameBefore(const std::string& a, const std::string& b);

// "<directory>/<clipFileName>".
std::string pathInFolder(const std::string& directory, const std::string& fileName);

}  // namespace zv

#endif  // ZV_WIZARD_GALLERY_FOLDER_H
