#include "gfx/picture_file_load.h"

#include "files/archive.h"
#include "gfx/texture_store.h"
#include "runtime/error_log.h"

bool PictureFileLoad(const char* command, int s, const std::string& name, int transparentColour,
                     bool normalMap) {
    // A failed load leaves a fall-back (an empty sprite, the built-in font) that looks like a
    // drawing fault; the log line is where a game author finds the real cause.
    const char* why = nullptr;
    std::string bytes;
    if (!SlotGet(s))
        why = "slot out of range";
    else if (!MediaRead(name, bytes))
        why = "not found";
    else if (!SlotLoadBytes(s, bytes, name, transparentColour, normalMap))
        why = "not a picture that can be read";
    if (why) ErrorLogAppend(std::string(command) + ": " + name + ": " + why);
    return why == nullptr;
}
