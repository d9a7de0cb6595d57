#include "insert/insert_strings.h"

namespace zv::insert {

namespace {

constexpr StringTableEntry kEntries[] = {
    {kMsgEditorError,
     "Unknown error received while attempting to add the WebBot HTML to FrontPage Editor."},
    {kMsgEditorNotRegistered,
     "An error was received while attempting to add the WebBot HTML to FrontPage Editor.  FrontPage "
     "Editor automation infomation was not found in the registry."},
    {kMsgExplorerError, "Unknown error received while attempting to work with FrontPage Explorer."},
    {kMsgExplorerNotRegistered,
     "An error was received while attempting to add the WebBot HTML to FrontPage Explorer.  FrontPage "
     "Explorer automation infomation was not found in the registry."},
    {kMsgNoWebOpen,
     "There is no web open in FrontPage Explorer.  In order for this WebBot insertion to work, "
     "FrontPage Explorer must have a web opened and FrontPage Editor keyboard insertion point must be "
     "place where you would like the WebBot to be placed."},
    {kMsgPageNotInWeb,
     "The page \"%s\" open in FrontPage Editor is not in the web \"%s\" that is open in FrontPage "
     "Explorer, so the audio was not added.  Open a page of that web in FrontPage Editor, or open the "
     "page's web in FrontPage Explorer, and insert the audio again.\r\n\r\nThe new audio file was kept "
     "at \"%s\"."},
    {kMsgClipPresent,
     "The file \"%s\" is already present.  Would you like to overwrite it?\r\n\r\nIf Yes, FrontPage "
     "Explorer will prompty you about this in a moment.\r\n\r\nIf No, no further processing will be "
     "done"},
    {kMsgClipNotUpdated,
     "Note that the operation of inserting the audio was incomplete.  There is an audio file there by "
     "the name \"%s\", but it may not be up-to-date.\r\n\r\nThe new audio file was kept at \"%s\"; you "
     "can add it to your web site yourself."},
    {kMsgAddClassFiles,
     "The player's files (ZvStreamPlayer.js and its decoders) were expected to already be in the web  "
     "at \"%s\". These files are needed to play the audio.  You can add the files manually later, or "
     "they can be added now.  Would you like to add the player's files now?\n\nIf you select Yes, all "
     "the player's files will be added to the site.  This only needs to be done once.\n\nIf you "
     "select No, you are expected to add the player's files manually.  They are located in '%s'."},
    {kMsgAddFailed,
     "Unable to add the file \"%s\" to FrontPage Explorer as \"%s\".  You can add it to your web site "
     "manually, if you would like."},
    {kStatusAdding, "Adding %s"},
    {kStatusCaption, "Status..."},
    {kMsgNoAnswer,
     "%s did not answer in time, so the audio was not inserted.  Make sure that %s is running and is not "
     "waiting for you in one of its windows, and insert the audio again."},
    {kMsgProgramGone,
     "%s was closed before the audio could be inserted, so the audio was not inserted.  Start %s again "
     "and insert the audio again."},
    {kMsgProgramFailed, "%s could not carry out a request of the audio insertion, so the audio was not inserted."},
    {kMsgInsertRefused,
     "FrontPage Editor did not insert the audio player into the page \"%s\", so the audio was not inserted."},
    {kMsgClipTakenOut, "  The file \"%s\" that was added for it was taken out of the web again."},
    {kMsgClipNotTakenOut,
     "  The file \"%s\" that was added for it could not be taken out of the web again; you can delete it "
     "from your web site yourself."},
    {kMsgFolderNotMade,
     "FrontPage Explorer could not create the folder \"%s\" in the web, so the player's files were not "
     "added.  You can add them manually later.  They are located in '%s'."},
    {kMsgExistsUnknown,
     "FrontPage Explorer could not tell whether the file \"%s\" is already present, so the audio was not "
     "inserted and no file of that name was replaced."},
    {kMsgPlayerNotInserted,
     "The audio player was not inserted into the page, since its audio file is not in the web.  Insert the "
     "audio again once the file can be added."},
    {kMsgWizardFailed, "The encoder wizard ended with the error %d, so the audio was not inserted."},
    {kMsgClipKept, "\r\n\r\nThe new audio file was kept at \"%s\"."},
};

}  // namespace

const StringTable kInsertStrings{kEntries};

}  // namespace zv::insert
