#include "encoder/job_context.h"

namespace zv {

const char* describeJobEnd(JobEnd end) {
  switch (end) {
    case JobEnd::ThreadNotStarted: return "the job's thread cannot be started";
    case JobEnd::LibraryNotLoaded: return "the codec library cannot be loaded";
    case JobEnd::EntryPointMissing: return "the codec library lacks an entry point";
    case JobEnd::InfoUnusable: return "the codec library describes itself with unusable values";
    case JobEnd::InputNotOpened: return "the input cannot be opened";
    case JobEnd::InputTooLarge: return "the input is too large";
    case JobEnd::InputReadFailed: return "the input cannot be read";
    case JobEnd::OutputNotCreated: return "a working file cannot be created";
    case JobEnd::OutputWriteFailed: return "a working file cannot be written";
    case JobEnd::OutOfMemory: return "there is not enough memory";
    case JobEnd::InstanceNotOpened: return "the codec cannot be opened";
    case JobEnd::CodecFailed: return "the codec refused a frame";
    case JobEnd::Cancelled: return "cancelled";
    case JobEnd::StreamNotWritten: return "the stream file cannot be written";
    case JobEnd::Completed: return "completed";
  }
  return "unknown";
}

}  // namespace zv
