#include "core/int_convert.h"
#include "corvane.h"
#include "files/file_paths.h"
#include "net/web_fetch.h"
#include "runtime/rt_text.h"

double WebGet(const RtString& server, const RtString& path, double port,
              const RtString& targetFile) {
    const int p = static_cast<int>(ToUInt32Wrap(port) & 0xFFFF);
    return WebFetch(RtToStd(server), RtToStd(path), p, FilePathPlatform(RtToStd(targetFile))) ? 1
                                                                                              : 0;
}
