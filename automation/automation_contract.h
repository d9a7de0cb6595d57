// The automation contract between the insertion program and the web editor's
// two programs, Explorer (the open web) and Editor (the page being edited).
// Outside programs rely on every name and number here.
//
// Each program is an object at kObjectPath with the interface kInterface on
// the D-Bus session bus, owned under its program identifier as bus name. The
// one method, Invoke(i dispid, av arguments) -> v, is the counterpart of an
// automation dispatch call: a fixed dispatch identifier and its arguments.
// Strings travel as D-Bus strings (UTF-8); the boolean argument is `b`.
#ifndef ZV_AUTOMATION_AUTOMATION_CONTRACT_H
#define ZV_AUTOMATION_AUTOMATION_CONTRACT_H

#include <cstdint>

namespace zv::automation {

inline constexpr char kExplorerProgramId[] = "FrontPage.Explorer";
inline constexpr char kEditorProgramId[] = "FrontPage.Editor";
inline constexpr char kObjectPath[] = "/Automation";
inline constexpr char kInterface[] = "org.zvtavelworks.Automation";
inline constexpr char kInvokeMethod[] = "Invoke";

// The error a server answers for a dispatch identifier it does not know.
inline constexpr char kUnknownDispidError[] = "org.zvtavelworks.Automation.Error.UnknownDispid";

// Explorer
inline constexpr std::int32_t kExplorerWebUrl = 12;     // () -> s: URL of the open web, empty when none
inline constexpr std::int32_t kExplorerFileExists = 15; // (s full URL) -> b
inline constexpr std::int32_t kExplorerMakeFolder = 27; // (s web path) -> i: 0 = the folder is not there
inline constexpr std::int32_t kExplorerAddFile = 3;     // (s local path, s web path, b) -> i: 0 = not added
// (s web path) -> i: 0 = the file is still there. Takes a clip out of the
// web again when the page did not take the player; a file that is not there
// counts as removed.
inline constexpr std::int32_t kExplorerRemoveFile = 30;
// Editor
inline constexpr std::int32_t kEditorPageUrl = 21;      // () -> s: URL of the page being edited
inline constexpr std::int32_t kEditorInsertHtml = 22;   // (s HTML) -> i: 0 = not inserted

}  // namespace zv::automation

#endif  // ZV_AUTOMATION_AUTOMATION_CONTRACT_H
