#include "platform/ffmpeg_library.h"

#include <dlfcn.h>

#include <cstdio>
#include <mutex>

#include "platform/report.h"

namespace platform {

namespace {

// The names the libraries were built under: the major versions of the headers compiled
// against, so a library with another ABI is never picked up.
struct Library {
    const char* soname;
    void* handle;
};
Library avutil{"libavutil.so." AV_STRINGIFY(LIBAVUTIL_VERSION_MAJOR), nullptr};
Library swresample{"libswresample.so." AV_STRINGIFY(LIBSWRESAMPLE_VERSION_MAJOR), nullptr};
Library swscale{"libswscale.so." AV_STRINGIFY(LIBSWSCALE_VERSION_MAJOR), nullptr};
Library avcodec{"libavcodec.so." AV_STRINGIFY(LIBAVCODEC_VERSION_MAJOR), nullptr};
Library avformat{"libavformat.so." AV_STRINGIFY(LIBAVFORMAT_VERSION_MAJOR), nullptr};

FfmpegFunctions gFunctions;
std::string gFailure;  // empty once everything is resolved
std::once_flag gOnce;

std::string Opened(Library& lib) {
    lib.handle = ::dlopen(lib.soname, RTLD_NOW | RTLD_LOCAL);
    if (lib.handle) return "";
    const char* e = ::dlerror();
    return e ? e : std::string("cannot open ") + lib.soname;
}

template <typename Pointer>
std::string Resolved(const Library& lib, const char* name, Pointer& to) {
    to = reinterpret_cast<Pointer>(::dlsym(lib.handle, name));
    return to ? "" : std::string(name) + " missing from " + lib.soname;
}

std::string LoadAll() {
    // Each library depends on those before it, which are then already in the process.
    for (Library* lib : {&avutil, &swresample, &swscale, &avcodec, &avformat}) {
        std::string e = Opened(*lib);
        if (!e.empty()) return e;
    }
    FfmpegFunctions f;
    std::string e;
#define CORVANE_FFMPEG_RESOLVE(library, name) \
    if (e.empty()) e = Resolved(library, #name, f.name);
    CORVANE_FFMPEG_FUNCTIONS(CORVANE_FFMPEG_RESOLVE)
#undef CORVANE_FFMPEG_RESOLVE
    if (e.empty()) gFunctions = f;
    return e;
}

}  // namespace

bool FfmpegLoad(std::string* why) {
    std::call_once(gOnce, [] {
        gFailure = LoadAll();
        if (!gFailure.empty())
            Report(ReportLevel::Warning, "FFmpeg",
                   "music, video and recording are off: " + gFailure);
    });
    if (why) *why = gFailure;
    return gFailure.empty();
}

const FfmpegFunctions& Ffmpeg() {
    return gFunctions;
}

}  // namespace platform
