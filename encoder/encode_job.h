// EncodeJob: PcmWorkFile -> stream file, on the caller's (worker) thread.
//
//  1. load the codec library of context.codecIndex; on failure return at
//     once: no file is touched and WM_JOB_DONE is NOT posted;
//  2. bind ordinals 8, 1, 2, 3 and read the information record: F = PCM
//     bytes per frame, M = largest coded frame;
//  3. open PcmWorkFile; pcmBytes = its length P;
//  4. create the temporary frame file ("ZVSA..." in the temporary directory);
//  5. allocate the F-byte PCM buffer and the M-byte coded buffer (failure:
//     message 10503);
//  6. open a coder with flags 1;
//  7. frame loop: read up to N bytes (N starts at F and is whatever the codec
//     left in the count; a value of 0 or above F is taken as F), complete a
//     short final frame with silence, Encode, append the coded bytes to the
//     frame file, post progress R * 100 / P when due; poll CancelEvent after
//     every frame and once more after the end of input;
//  8. at the end of input: codedBytes = T, build the header and write the
//     stream file (stream_file_writer.h);
//  9. clean up (every path after step 1): free the buffers, close the PCM
//     file, close and delete the frame file, close the coder, unload the
//     library, and as the very last act post WM_JOB_DONE.
// The number of frames is ceil(P / F).
//
// Encode results -2 and -3 stop the job, as does a codec that reports more
// coded bytes than M; every other result (-1 included) is success and its
// coded count is written as returned.
#ifndef ZV_ENCODER_ENCODE_JOB_H
#define ZV_ENCODER_ENCODE_JOB_H

#include "encoder/job_context.h"

namespace zv {

// Runs the whole job; returns how it ended (see JobEnd).
JobEnd EncodeJob(JobContext& context, const JobEnvironment& environment);

}  // namespace zv

#endif  // ZV_ENCODER_ENCODE_JOB_H
