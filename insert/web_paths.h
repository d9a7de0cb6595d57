// Where things go in the open web: the page's folder, the clip's web path,
// the folder for the player's class files and the CODEBASE the page gets.
// Pure text rules; the pass (insertion_pass.h) applies them in its order.
#ifndef ZV_INSERT_WEB_PATHS_H
#define ZV_INSERT_WEB_PATHS_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "automation/web_url.h"

namespace zv::insert {

// True when `pageUrl` lies in the open web: it begins with the server part
// (ignoring letter case, as URLs' scheme and host do) followed by the web
// part and a slash.
bool pageIsInWeb(std::string_view pageUrl, const automation::WebUrlParts& web);

// The page URL up to (not including) its last slash, without as many leading
// characters as the server part is long: "S/myweb/sub/index.htm" with server
// part "S" gives "/myweb/sub"; a page in a root web gives "". nullopt when the
// page URL has no slash (or none past the server part).
std::optional<std::string> pagePath(std::string_view pageUrl, std::size_t serverLength);

// The last path component of a local file path.
std::string fileNameOf(std::string_view localPath);

// A web path for the file `fileName` (a plain name, encoded here) in the web
// folder `folder`: "folder/name", or only the name when the folder is empty.
std::string webPathInFolder(std::string_view folder, std::string_view fileName);

// The clip's reference in the page (S-CLIP): its name as a URL relative to
// the page, percent-encoded (clip_reference.h), so that the browser asks for
// the very file that clipWebPath names, whatever the name holds.
std::string clipReference(std::string_view clipName);

// The clip's web path: page path, "/", clipReference(clip name); the slash
// stays even when the page path is empty ("/hello.zvsa" for a page of a root
// web).
std::string clipWebPath(std::string_view pageFolder, std::string_view clipName);

struct ClassPlacement {
  std::string classFolder;    // web path that receives the class files
  std::string codebaseValue;  // what the page's S-CODEBASE gets
  bool usesCodebase = false;  // the folder is made from the codebase (may need creating)
};

// With an empty codebase, or in a disk-based web, the class files live beside
// the page (class folder = page path) and the page gets no codebase.
// Otherwise the class folder is the web part followed by the codebase, and
// that is also the codebase value.
ClassPlacement chooseClassPlacement(std::string_view codebase, bool diskBasedWeb,
                                    std::string_view webPart, std::string_view pageFolder);

// The folders to create, one level at a time, so that `classFolder` exists:
// from the character after the web part and its following slash, every
// further slash gives the path up to it; the whole class folder comes last.
// "/myweb/Java/ZvTavelwork" in web "/myweb" gives "/myweb/Java",
// "/myweb/Java/ZvTavelwork".
std::vector<std::string> folderCreationSequence(std::string_view classFolder, std::string_view webPart);

// "file://" URL of the preview image for `buttonCount` in `programFolder`
// (which ends with '/').
std::string previewImageUrl(std::string_view programFolder, std::int32_t buttonCount);

// True when the local file `path` lies in the temporary folder: it begins
// with `temporaryFolder`, compared over that folder's length ignoring case.
bool isInTemporaryFolder(std::string_view path, std::string_view temporaryFolder);

}  // namespace zv::insert

#endif  // ZV_INSERT_WEB_PATHS_H
