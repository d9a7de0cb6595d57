// zvwizard's road after Finish when nobody sits at a terminal (started from
// the desktop's menu): windows instead of standard output.
//
//  1. "Save the Clip" (clip_save_dialog.h) asks where the clip goes, in the
//     folder given with -o, else the folder last saved to (kept in the
//     settings store), else the home folder, with the clip's name proposed.
//     A file of the chosen name is replaced only after the system's
//     question (30300) through the message layer; No, or a save that fails
//     (told with the system's reason), opens the dialog again.
//  2. A gallery clip is copied there, a new clip moved; a new clip's run
//     folder, empty then, goes.
//  3. Cancel in the dialog loses nothing and leaves nothing in the
//     temporary folder: a gallery clip simply stays in the gallery, and a
//     new clip is kept in the user's own gallery (kept_clip.h), where the
//     wizard offers it next time. Asking again instead would hold the user
//     in a loop with no way out but a clip left behind.
//  4. "The Clip's HTML" (markup_window.h) says where the clip went and
//     shows the markup for it under its final name (a name changed in the
//     dialog gets markup made for that name); Close ends.
#ifndef ZV_WIZARD_ZVWIZARD_WINDOW_FINISH_H
#define ZV_WIZARD_ZVWIZARD_WINDOW_FINISH_H

#include <functional>
#include <string>

namespace zv {

class MessagePresenter;
class SettingsStore;

// Where the settings store keeps the folder last saved to.
inline constexpr char kZvwizardSection[] = "zvwizard";
inline constexpr char kLastSaveFolderEntry[] = "Last Save Folder";

// What the wizard handed over on Finish.
struct FinishedClip {
  std::string path;        // where the wizard left it
  bool fromGallery = false;  // a gallery clip: copied, never moved
  std::string markup;      // the wizard's markup, naming the clip by its file name
  // The markup for the same player naming the clip by another file name.
  std::function<std::string(const std::string& clipFileName)> markupFor;
};

struct WindowFinishSetup {
  MessagePresenter& presenter;
  SettingsStore& settings;
  std::string startFolder;  // -o; empty: the folder last saved to, else home
  std::string keepFolder;   // the user's gallery, for a new clip not saved
};

enum class ClipWhereabouts {
  Saved,          // where the user chose
  KeptInGallery,  // a new clip, the dialog cancelled
  LeftInGallery,  // a gallery clip, the dialog cancelled
  LeftWhereMade,  // a new clip that could not be kept anywhere else
};

struct WindowFinishOutcome {
  ClipWhereabouts where = ClipWhereabouts::LeftWhereMade;
  std::string path;  // the clip's path now
};

// Runs steps 1 to 4 above (on the GUI thread, a QApplication running).
WindowFinishOutcome finishInWindows(const FinishedClip& clip, const WindowFinishSetup& setup);

}  // namespace zv

#endif  // ZV_WIZARD_ZVWIZARD_WINDOW_FINISH_H
