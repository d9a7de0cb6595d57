// What the engine has to tell about a source file that could not be used,
// kept apart from its wording: the wizard shows the system's own texts,
// which speak of its buttons and fields, while a command-line program words
// the same facts for a terminal and adds the operating system's reason when
// a file operation failed. The engine records the facts; its caller chooses
// the wording.
#ifndef ZV_ENCODER_ENGINE_NOTICE_H
#define ZV_ENCODER_ENGINE_NOTICE_H

#include <string>

namespace zv {

// A fact the system's table has no text of its own for: the converted
// sound could not be written to PcmWorkFile (a full disk, say). The system
// states it with message 10200 naming the source; a caller may say more.
inline constexpr unsigned kNoticePcmWorkFileNotWritten = 10430;

struct EngineNotice {
  unsigned id = 0;      // the engine string that states it (EngineStringId)
  std::string value;    // the text's placeholder value (a file name, a rate)
  std::string reason;   // the system's reason for a failed file operation
                        // ("No such file or directory"); empty when none
};

// Turns a notice into the text shown to the user.
using MessageWording = std::string (*)(const EngineNotice& notice);

// The system's texts: engineMessage(id, value) (10200 for
// kNoticePcmWorkFileNotWritten), the reason left out. The wizard's wording
// and the default everywhere.
std::string systemWording(const EngineNotice& notice);

// The operating system's text for errno value `osError`; empty for 0.
std::string osReason(int osError);

}  // namespace zv

#endif  // ZV_ENCODER_ENGINE_NOTICE_H
