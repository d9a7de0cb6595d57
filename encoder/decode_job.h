// DecodeJob: stream file -> DecodedPcmFile (headerless 16-bit PCM), on the
// caller's (worker) thread, with the same messages and cancel protocol as
// EncodeJob.
//
//  1. load the codec library of context.codecIndex (the header is not
//     consulted); on failure return at once without WM_JOB_DONE;
//  2. bind ordinals 8, 4, 5, 6 and read the information record;
//  3. open the stream file, note its length L;
//  4. open DecodedPcmFile for update, truncated;
//  5. allocate the M-byte coded and F-byte PCM buffers (failure: 10503);
//  6. open a decoder with flags 1;
//  7. read and discard the 154-byte header without checking it;
//  8. frame loop (stream_frame_decoder.h): write each frame's PCM, add the
//     consumed bytes to K, post progress K * 100 / L when due; poll
//     CancelEvent after each frame and at the end;
//  9. clean up: free the buffers, close both files (DecodedPcmFile stays with
//     what was decoded), close the decoder, unload, post WM_JOB_DONE.
// pcmBytes and codedBytes of the context are not touched.
#ifndef ZV_ENCODER_DECODE_JOB_H
#define ZV_ENCODER_DECODE_JOB_H

#include "encoder/job_context.h"

namespace zv {

// Runs the whole job; returns how it ended (see JobEnd).
JobEnd DecodeJob(JobContext& context, const JobEnvironment& environment);

}  // namespace zv

#endif  // ZV_ENCODER_DECODE_JOB_H
