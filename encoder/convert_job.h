// convertJob: the source file conversion of input_preparation.h run as a
// job, on the worker thread of a JobRunner, under the same protocol as the
// encode and decode jobs (job_context.h):
//   - context.streamPath is the source sound file the user chose;
//   - WM_JOB_PROGRESS as the reader gets through the source, throttled as
//     the coding jobs' progress is;
//   - CancelEvent polled before each block is written: Cancelled, the
//     partial file deleted, PcmWorkFile and PcmFormat as they were, no
//     message;
//   - a source that cannot be converted: its message goes to the
//     environment's presenter (from the worker thread), InputReadFailed;
//   - WM_JOB_DONE as the very last act, whatever the outcome.
// The codec table and codec index are not used.
#ifndef ZV_ENCODER_CONVERT_JOB_H
#define ZV_ENCODER_CONVERT_JOB_H

#include "encoder/job_context.h"

namespace zv {

JobEnd convertJob(JobContext& context, const JobEnvironment& environment);

}  // namespace zv

#endif  // ZV_ENCODER_CONVERT_JOB_H
