// What the user is told when a compression or decompression job ends without
// completing: the wizard's message (10510 or 10511) with the engine's own
// description of the job's end (describeJobEnd) as the reason. For a codec
// library that cannot be loaded the reason also names the library and the
// loader's explanation.
#ifndef ZV_WIZARD_JOB_FAILURE_MESSAGE_H
#define ZV_WIZARD_JOB_FAILURE_MESSAGE_H

#include <string>

#include "encoder/codec_table.h"
#include "encoder/job_context.h"
#include "encoder/job_runner.h"
#include "platform/message_presenter.h"

namespace zv {

// The message for a job of `mode` that ended with `end`, or an empty string
// when nothing needs saying: the job completed, the user cancelled it, or the
// job has already shown its own message (10503, out of memory).
std::string jobFailureText(JobMode mode, JobEnd end, CodecTable codecs, int codecIndex);

// Shows jobFailureText() through `presenter` when it is not empty.
void showJobFailure(MessagePresenter& presenter, JobMode mode, JobEnd end, CodecTable codecs,
                    int codecIndex);

}  // namespace zv

#endif  // ZV_WIZARD_JOB_FAILURE_MESSAGE_H
