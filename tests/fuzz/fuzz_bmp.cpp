// BMP decoder: any bytes fail cleanly or give a picture of the size they declare.
#include <cstddef>
#include <cstdint>

#include "gfx/bmp_reader.h"
#include "gfx/decoded_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecodedImage img;
    const int transparent = size % 2 ? 0xff00ff : kNoTransparentColour;
    if (BmpDecode(data, size, transparent, 32767, img)) {
        if (img.pixels.size() != static_cast<size_t>(img.width) * img.height * 4) __builtin_trap();
    }
    return 0;
}
