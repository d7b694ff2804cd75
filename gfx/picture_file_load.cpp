#include "gfx/picture_file_load.h"

#include <algorithm>
#include <string>

#include "files/archive.h"
#include "files/media_report.h"
#include "gfx/decoded_image.h"
#include "gfx/image_file.h"
#include "gfx/texture_store.h"
#include "runtime/error_log.h"

namespace {

// Why bytes that were found did not load: a size past the decoders' budget is told apart
// from a file that is not a picture at all.
std::string DecodeProblem(const std::string& bytes) {
    int64_t w = 0, h = 0;
    if (ImageDeclaredSize(bytes, w, h) &&
        (!DecodeSizeFits(w, h) || w > GfxMaxTextureSize() || h > GfxMaxTextureSize()))
        return "picture too large (" + std::to_string(w) + " x " + std::to_string(h) +
               " pixels; at most " +
               std::to_string(std::min<int64_t>(kDecodeSideLimit, GfxMaxTextureSize())) +
               " a side and " + std::to_string(kDecodePixelBytesLimit / 4) + " pixels in all)";
    if (bytes.empty()) return "empty or damaged file";
    return "not a BMP or PNG picture that can be read";
}

}  // namespace

bool PictureFileLoad(const char* command, int s, const std::string& name, int transparentColour,
                     bool normalMap) {
    // A failed load leaves a fall-back (an empty sprite, the built-in font) that looks like a
    // drawing fault; the log line is where a game author finds the real cause.
    const char* why = nullptr;
    std::string bytes;
    if (!SlotGet(s)) {
        why = "slot out of range";
        LoadFailureReport(command, name,
                          "slot " + std::to_string(s) + " is out of range (0 to 65535)");
    } else if (!MediaRead(name, bytes)) {
        why = "not found";
        MediaMissingReport(command, name);
    } else if (!SlotLoadBytes(s, bytes, name, transparentColour, normalMap)) {
        why = "not a picture that can be read";
        LoadFailureReport(command, name, DecodeProblem(bytes));
    }
    if (why) ErrorLogAppend(std::string(command) + ": " + name + ": " + why);
    return why == nullptr;
}
