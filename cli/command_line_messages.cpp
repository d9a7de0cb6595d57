#include "cli/command_line_messages.h"

#include "encoder/engine_strings.h"
#include "platform/string_table.h"

namespace zv::cli {

namespace {

struct CommandLineText {
  unsigned id;
  const char* fact;    // may hold the notice's placeholder
  const char* advice;  // what to do about it, or empty
};

constexpr CommandLineText kTexts[] = {
    {kIdsSelectSourceFile, "No source audio file was named.",
     "Please give the path of a WAV, AU, FLAC, Ogg, MP3 or AIFF file."},
    {kIdsInvalidFileName, "The name \"%s\" is not a valid file name or path.",
     "Please check the path given on the command line."},
    // The system says "does not exist" whatever kept the file from opening;
    // with the reason beside it, that would contradict "Permission denied".
    {kIdsFileDoesNotExist, "The file \"%s\" could not be opened.",
     "Please give the path of a valid audio file."},
    {kNoticePcmWorkFileNotWritten,
     "The converted sound of \"%s\" could not be written to the working file.", ""},
    {kIdsNeitherWavNorAu, "This file is neither a PC WAV audio format nor an AU audio format.",
     "Please name another file: zvsa reads WAV, AU, FLAC, Ogg, MP3, AIFF and more."},
    {kIdsNotSupportedWav, "Either this is not a WAV file or it is not a supported format.",
     "Please name a valid WAV file."},
    {kIdsWavNotPcm, "This WAV file is not in PCM format.",
     "Please name a file in PCM format or use another audio file program to convert this file "
     "to PCM."},
    {kIdsWavChunkPastEnd,
     "This WAV file is damaged: a part of it runs past the end of the file.",
     "Please name another file."},
    {kIdsWavNoAudioData, "This WAV file contains no audio data.", "Please name another file."},
    {kIdsWavRateNotConvertible, "The sample rate of this WAV file (%d Hz) cannot be converted.",
     "Please name another file."},
    {kIdsSoundTooLong,
     "This sound is too long: at 8000 Hz mono 16-bit it would take more than 4 GB.",
     "Please name a shorter file."},
    {kIdsWavUnknownSubFormat, "This WAV file names a sub-format that is not known.",
     "Please name a file in PCM or floating-point format."},
    {kIdsSoundNoAudioData, "This sound file contains no audio data.", "Please name another file."},
    {kIdsSoundRateNotConvertible,
     "The sample rate of this sound file (%d Hz) cannot be converted.",
     "Please name another file."},
};

}  // namespace

std::string commandLineWording(const EngineNotice& notice) {
  const std::string reason = notice.reason.empty() ? std::string() : "  " + notice.reason + ".";
  for (const CommandLineText& text : kTexts) {
    if (text.id != notice.id) continue;
    std::string message = formatMessage(text.fact, notice.value) + reason;
    if (*text.advice) message += std::string("  ") + text.advice;
    return message;
  }
  return systemWording(notice) + reason;
}

}  // namespace zv::cli
