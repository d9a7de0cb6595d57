// The gallery the wizard shows: the shipped clips and the user's own, as one
// list.
//
// The shipped gallery ("Gallery" of the installation, see gallery_folder.h)
// is read, never written; "Add to gallery" writes into the user's own
// (user_gallery_folder.h). When both hold a clip of the same file name, the
// list shows the name once and it means the user's clip: the user's shadows
// the shipped one, so a clip a user added under a shipped clip's name is the
// one the user gets, and the shipped one comes back when the user's is
// deleted. Names are compared exactly, as the file system does: "Bells" and
// "bells" are two clips.
#ifndef ZV_WIZARD_GALLERY_FOLDERS_H
#define ZV_WIZARD_GALLERY_FOLDERS_H

#include <string>
#include <vector>

namespace zv {

struct GalleryFolders {
  std::string shipped;  // read only; without a trailing slash
  std::string user;     // where added clips go, made when needed; empty: none
};

// The shipped gallery `shipped` (the installation's) and the user's own.
GalleryFolders galleryFoldersWith(const std::string& shipped);

// The clip names (without folder and ".zvsa") of both folders, each name
// once, in the order of listGalleryClips(directory). Empty when neither
// folder holds a clip.
std::vector<std::string> listGalleryClips(const GalleryFolders& folders);

// The file that a clip file name ("<name>.zvsa") of the list stands for: the
// user's when the user's folder holds it as a regular file (as the listing
// counts it), else the shipped one.
std::string galleryClipPath(const GalleryFolders& folders, const std::string& clipFileName);

}  // namespace zv

#endif  // ZV_WIZARD_GALLERY_FOLDERS_H
