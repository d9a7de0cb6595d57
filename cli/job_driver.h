// Runs one engine job to its end for the command line, the way the progress
// dialog does: start the worker, follow WM_JOB_PROGRESS, join on
// WM_JOB_DONE. A job whose codec library cannot be loaded posts nothing;
// the runner's thread-end callback wakes the driver then, so it never waits
// for ever. A termination signal cancels the job.
#ifndef ZV_CLI_JOB_DRIVER_H
#define ZV_CLI_JOB_DRIVER_H

#include <functional>
#include <memory>
#include <string>

#include "cli/terminal_output.h"
#include "encoder/engine_workspace.h"
#include "encoder/job_context.h"
#include "encoder/job_runner.h"

namespace zv::cli {

// A workspace for the job of `input`, or nothing after printing
// "zvsa: <input>: <why>" through `out`.
std::unique_ptr<EngineWorkspace> createJobWorkspace(const std::string& input, TerminalOutput& out);

// Runs the job; `onProgress` gets each percentage. `context` must not have
// a notifyWindow of its own (the driver sets one for the job's duration).
JobEnd driveJob(JobMode mode, JobContext& context, const JobEnvironment& environment,
                const std::function<void(unsigned)>& onProgress);

}  // namespace zv::cli

#endif  // ZV_CLI_JOB_DRIVER_H
