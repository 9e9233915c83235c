#pragma once
// The commands that act on a connected logger: download its memory into a record file, stop its
// mission, erase its memory.

#include "tools/cli/Invocation.h"

namespace orvan::cli {

// download --port DEVICE OUT [--no-mark]: the status read, the block plan, OUT written whole
// (32768 bytes, or not at all), then the write-back and the saved bit unless --no-mark.
int runDownload(const Invocation& inv);
// stop --port DEVICE: ends a running mission.
int runStop(const Invocation& inv);
// erase --port DEVICE: erases the memory, waits the 34 s the logger needs and checks the result.
int runErase(const Invocation& inv);

} // namespace orvan::cli
