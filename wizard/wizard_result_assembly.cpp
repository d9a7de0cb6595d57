#include "wizard/wizard_result_assembly.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "encoder/engine_strings.h"
#include "encoder/file_handle.h"
#include "platform/replacing_file.h"
#include "webbot/markup/applet_markup.h"
#include "webbot/markup/clip_reference.h"
#include "wizard/gallery_folder.h"
#include "wizard/gallery_folders.h"
#include "wizard/wizard_strings.h"

namespace zv {

namespace {

std::string folderOf(const std::string& path) {
  const std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// A wizard message followed by the system's reason, as one message.
void reportWithReason(MessagePresenter& presenter, unsigned id, const std::string& value,
                      const std::string& reason) {
  showEngineText(presenter, wizardMessage(id, value) + "  " + wizardMessage(kIdsSystemReason, reason));
}

// Copies the file at `from` over `to` through a partial file beside `to`.
// Empty on success, else the system's reason.
std::string copyThroughPartialFile(const std::string& from, const std::string& to) {
  FileHandle source = openFile(from, "rb");
  if (!source) return std::strerror(errno);
  ReplacingFile target;
  if (!target.open(to)) return std::strerror(errno);
  char buffer[65536];
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, source.get());
    if (got > 0 && std::fwrite(buffer, 1, got, target.stream()) != got) return std::strerror(errno);
    if (got < sizeof buffer) {
      if (std::ferror(source.get())) return std::strerror(errno ? errno : EIO);
      break;
    }
  }
  errno = 0;
  if (!target.commit(ReplacingFile::Sync::Durable)) return std::strerror(errno ? errno : EIO);
  return {};
}

}  // namespace

std::string finishedClipName(const WizardState& state) {
  const std::string& base =
      state.inputChoice == kInputGalleryClip ? state.galleryClipName : state.outputName;
  return base + kClipExtension;
}

bool addClipToGallery(const std::string& clipPath, const std::string& clipName,
                      const std::string& galleryDirectory, MessagePresenter& presenter) {
  const std::string galleryFile = pathInFolder(galleryDirectory, clipName);
  // No folder at all (no home to put the user's gallery in): never a copy
  // relative to whatever the current folder happens to be.
  if (galleryDirectory.empty()) {
    reportWithReason(presenter, kIdsGalleryCopyFailed, galleryFile, std::strerror(ENOENT));
    return false;
  }
  std::error_code error;
  if (std::filesystem::exists(std::filesystem::symlink_status(galleryFile, error))) {
    const MessageAnswer answer = presenter.present(
        {engineMessage(kIdsApplicationTitle), wizardMessage(kIdsGalleryOverwrite, galleryFile),
         MessageKind::Question});
    if (answer != MessageAnswer::Yes) return false;
  } else {
    std::filesystem::create_directories(galleryDirectory, error);
    if (error) {
      reportWithReason(presenter, kIdsGalleryCopyFailed, galleryFile, error.message());
      return false;
    }
  }
  const std::string reason = copyThroughPartialFile(clipPath, galleryFile);
  if (!reason.empty()) {
    reportWithReason(presenter, kIdsGalleryCopyFailed, galleryFile, reason);
    return false;
  }
  return true;
}

std::optional<PlacedClip> placeFinishedClip(const WizardState& state, const WizardServices& services) {
  PlacedClip clip;
  clip.name = finishedClipName(state);
  if (state.inputChoice == kInputGalleryClip) {
    clip.path = galleryClipPath(services.gallery, clip.name);
    return clip;
  }
  clip.path = pathInFolder(folderOf(state.streamPath), clip.name);
  // rename() replaces a file of the target's name in one step, so an
  // earlier clip of that name is never lost unless the new one is in place.
  if (std::rename(state.streamPath.c_str(), clip.path.c_str()) != 0) {
    reportWithReason(services.presenter, kIdsClipNotRenamed, clip.path, std::strerror(errno));
    return std::nullopt;
  }
  if (state.addToGallery)
    addClipToGallery(clip.path, clip.name, services.gallery.user, services.presenter);
  return clip;
}

bool handOverResult(const AppletValues& values, const std::optional<PlacedClip>& clip,
                    SystemString* markup, WizardResult* result, MessagePresenter& presenter) {
  WizardResult local;
  std::memset(&local, 0, sizeof local);
  if (markup != nullptr && clip) {
    fillWizardResult(local, values, clip->path);
    // The clip lies beside the page under its name: the markup names it by
    // URL. A refused markup (a tag typed by hand that is no element name, or
    // memory) must not reach the caller as a finished wizard with a stale or
    // empty slot.
    if (!GenerateAppletMarkup(values.settings(), clipReferenceForPath(clip->name).c_str(),
                              markup, kMarkupLinesEndLf)) {
      freeWizardResultStrings(local);
      showWizardMessage(presenter, kIdsMarkupNotMade, values.tag);
      return false;
    }
  }
  if (result != nullptr) {
    *result = local;
  } else {
    freeWizardResultStrings(local);
  }
  return true;
}

}  // namespace zv
