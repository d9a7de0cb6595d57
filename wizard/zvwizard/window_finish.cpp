#include "wizard/zvwizard/window_finish.h"

#include <unistd.h>

#include <QDialog>
#include <QDir>
#include <QFile>

#include <optional>

#include "encoder/engine_strings.h"
#include "platform/message_presenter.h"
#include "wizard/settings_store.h"
#include "wizard/wizard_strings.h"
#include "wizard/zvwizard/clip_file_moves.h"
#include "wizard/zvwizard/clip_paths.h"
#include "wizard/zvwizard/clip_save_dialog.h"
#include "wizard/zvwizard/kept_clip.h"
#include "wizard/zvwizard/markup_window.h"
#include "wizard/zvwizard/window_finish_texts.h"

namespace zv {

namespace {

namespace texts = window_finish_texts;

std::string withPath(const char* pattern, const std::string& path) {
  std::string text = pattern;
  const std::string::size_type at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, path);
  return text;
}

std::string firstFolder(const WindowFinishSetup& setup) {
  if (!setup.startFolder.empty()) return setup.startFolder;
  const std::string remembered = setup.settings.readText(kZvwizardSection, kLastSaveFolderEntry, "");
  if (isFolder(remembered)) return remembered;
  return QFile::encodeName(QDir::homePath()).toStdString();
}

bool mayReplace(const std::string& target, MessagePresenter& presenter) {
  return presenter.present({engineMessage(kIdsApplicationTitle), wizardMessage(kIdsGalleryOverwrite, target),
                            MessageKind::Question}) == MessageAnswer::Yes;
}

// Step 1 and 2: the path the clip was saved as, nothing when the user
// cancelled.
std::optional<std::string> saveWhereTheUserSays(const FinishedClip& clip, const WindowFinishSetup& setup) {
  std::string folder = firstFolder(setup);
  std::string name = fileNameOf(clip.path);
  for (;;) {
    ClipSaveDialog dialog(folder, name);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const std::string target = dialog.chosenPath();
    if (target.empty()) continue;
    // Asked again, the dialog opens where the user just was.
    folder = folderOf(target);
    name = fileNameOf(target);
    // The gallery clip itself chosen: it already is there.
    if (sameFile(clip.path, target)) return target;
    const bool replace = pathExists(target);
    if (replace && !mayReplace(target, setup.presenter)) continue;
    const std::string reason = clip.fromGallery ? copyClipFile(clip.path, target, replace)
                                                : moveClipFile(clip.path, target, replace);
    if (reason.empty()) return target;
    showEngineText(setup.presenter,
                   withPath(texts::kNotSaved, target) + "  " + wizardMessage(kIdsSystemReason, reason));
  }
}

WindowFinishOutcome placeClip(const FinishedClip& clip, const WindowFinishSetup& setup) {
  if (std::optional<std::string> saved = saveWhereTheUserSays(clip, setup)) {
    setup.settings.writeText(kZvwizardSection, kLastSaveFolderEntry, folderOf(*saved));
    setup.settings.sync();
    return {ClipWhereabouts::Saved, *saved};
  }
  if (clip.fromGallery) return {ClipWhereabouts::LeftInGallery, clip.path};
  if (std::optional<std::string> kept = keepClipIn(setup.keepFolder, clip.path))
    return {ClipWhereabouts::KeptInGallery, *kept};
  return {ClipWhereabouts::LeftWhereMade, clip.path};
}

std::string whereTheClipIs(const WindowFinishOutcome& outcome) {
  switch (outcome.where) {
    case ClipWhereabouts::Saved: return withPath(texts::kSavedAs, outcome.path);
    case ClipWhereabouts::KeptInGallery: return withPath(texts::kKeptInGallery, outcome.path);
    case ClipWhereabouts::LeftInGallery: return withPath(texts::kLeftInGallery, outcome.path);
    case ClipWhereabouts::LeftWhereMade: break;
  }
  return withPath(texts::kLeftWhereMade, outcome.path);
}

}  // namespace

WindowFinishOutcome finishInWindows(const FinishedClip& clip, const WindowFinishSetup& setup) {
  const WindowFinishOutcome outcome = placeClip(clip, setup);
  // A new clip came alone in the wizard's run folder: once it is out, the
  // folder is empty and goes (rmdir removes nothing else).
  if (!clip.fromGallery && outcome.path != clip.path) ::rmdir(folderOf(clip.path).c_str());

  const std::string finalName = fileNameOf(outcome.path);
  const std::string markup =
      finalName == fileNameOf(clip.path) || !clip.markupFor ? clip.markup : clip.markupFor(finalName);
  MarkupWindow window(whereTheClipIs(outcome), markup);
  window.exec();
  return outcome;
}

}  // namespace zv
