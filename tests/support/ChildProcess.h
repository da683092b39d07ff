#pragma once

#include <QtGlobal>
#include <functional>

namespace ludora::test {

// Runs body in a forked child whose files may grow to at most fileSizeLimit bytes
// (SIGXFSZ ignored, so a write past the limit fails instead of killing the child), and
// returns the child's exit code: body's result, or -1 when the child did not exit normally.
// A negative limit sets no limit. Root is not exempt from this limit, unlike permission bits.
int runInChild(qint64 fileSizeLimit, const std::function<int()>& body);

}  // namespace ludora::test
