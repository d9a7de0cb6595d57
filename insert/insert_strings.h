// The insertion program's string table: its messages and its status line.
#ifndef ZV_INSERT_INSERT_STRINGS_H
#define ZV_INSERT_INSERT_STRINGS_H

#include "platform/string_table.h"

namespace zv::insert {

enum InsertStringId : unsigned {
  kMsgEditorError = 10000,            // the Editor object cannot be created
  kMsgEditorNotRegistered = 10001,    // nobody offers the Editor
  kMsgExplorerError = 10100,          // the Explorer object cannot be created
  kMsgExplorerNotRegistered = 10101,  // nobody offers the Explorer
  kMsgNoWebOpen = 10102,
  kMsgPageNotInWeb = 10103,           // %s page URL, %s web URL, %s local clip
  kMsgClipPresent = 10200,            // question; %s clip web path
  kMsgClipNotUpdated = 10201,         // %s clip web path, %s local clip
  kMsgAddClassFiles = 10202,          // question; %s class folder, %s program folder
  kMsgAddFailed = 10203,              // %s local path, %s web path
  kStatusAdding = 10300,              // %s web path
  kStatusCaption = 10301,
  // When a program or the wizard lets the pass down.
  kMsgNoAnswer = 10400,               // %s program, %s program
  kMsgProgramGone = 10401,            // %s program, %s program
  kMsgProgramFailed = 10402,          // %s program
  kMsgInsertRefused = 10403,          // %s page URL
  kMsgClipTakenOut = 10404,           // %s clip web path
  kMsgClipNotTakenOut = 10405,        // %s clip web path
  kMsgFolderNotMade = 10406,          // %s web folder, %s program folder
  kMsgExistsUnknown = 10407,          // %s web path
  kMsgPlayerNotInserted = 10408,      // after 10203 for the clip
  kMsgWizardFailed = 10409,           // %d the wizard's answer
  kMsgClipKept = 10410,               // appended; %s local clip
};

extern const StringTable kInsertStrings;

}  // namespace zv::insert

#endif  // ZV_INSERT_INSERT_STRINGS_H
