// What zvwizard says on its windows' road after Finish: the save dialog, the
// markup window, and the messages of that road (shown through the message
// layer with the application title as caption, as the wizard's own are).
// "%s" stands for a file's path.
#ifndef ZV_WIZARD_ZVWIZARD_WINDOW_FINISH_TEXTS_H
#define ZV_WIZARD_ZVWIZARD_WINDOW_FINISH_TEXTS_H

namespace zv::window_finish_texts {

inline constexpr char kSaveDialogTitle[] = "Save the Clip";
inline constexpr char kClipFilter[] = "Clips (*.zvsa)";
inline constexpr char kClipSuffix[] = "zvsa";

inline constexpr char kMarkupWindowTitle[] = "The Clip's HTML";
inline constexpr char kMarkupLabel[] = "&HTML that plays the clip on a page:";
inline constexpr char kMarkupFieldName[] = "HTML that plays the clip on a page";
inline constexpr char kCopyButton[] = "&Copy";
inline constexpr char kCloseButton[] = "C&lose";
inline constexpr char kCopied[] = "The HTML is on the clipboard.";

// Where the clip went, the first line of the markup window.
inline constexpr char kSavedAs[] = "The clip is saved as \"%s\".";
inline constexpr char kKeptInGallery[] =
    "The clip was not saved elsewhere, so it is kept in your gallery as \"%s\": the wizard "
    "offers it there next time.";
inline constexpr char kLeftInGallery[] =
    "The clip was not copied; it stays in the gallery as \"%s\".";
inline constexpr char kLeftWhereMade[] =
    "The clip could not be put anywhere else, so it stays where the wizard made it: \"%s\".";

// A message: the save failed (the system's reason follows), and the save
// dialog opens again.
inline constexpr char kNotSaved[] = "The clip cannot be saved as \"%s\".";

}  // namespace zv::window_finish_texts

#endif  // ZV_WIZARD_ZVWIZARD_WINDOW_FINISH_TEXTS_H
