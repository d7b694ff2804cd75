// Picture files: decoding them from bytes, encoding them, saving one safely (replaced beside
// and renamed, flushed to disk first).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/decoded_image.h"

// Largest picture file read from disk.
constexpr size_t kImageFileMax = size_t{1} << 30;

// Tries the BMP reader, then the PNG reader on bytes in memory (name only labels the PNG
// reader's messages). False when neither accepts them.
bool ImageDecodeBytes(const std::string& bytes, const std::string& name, int transparentColour,
                      int maxSide, DecodedImage& out);
// The size a BMP or PNG header declares, read without decoding, so a refused load can say
// it was too large; false when bytes start like neither.
bool ImageDeclaredSize(const std::string& bytes, int64_t& width, int64_t& height);

// The same for a picture file on disk (a regular file; folders and FIFOs are refused).
bool ImageDecodeFile(const std::string& path, int transparentColour, int maxSide,
                     DecodedImage& out);

// Save formats: a name longer than 4 characters ending in ".png" (any case) is PNG, everything
// else BMP.
bool ImageNameIsPng(const std::string& name);

// The saved picture comes as rows of blue, green, red bytes, bottom row first, rowLength
// pixels apart (as GL reads it back). keyColour is the transparent colour as the frame buffer
// shows it (packed RGB; 0 = none): PNG gives such pixels alpha 0, BMP writes them as
// (255, 0, 128).
std::vector<uint8_t> BmpEncode(const uint8_t* bgr, int width, int height, int rowLength,
                               int keyColour);
bool PngEncodeFromBgr(const uint8_t* bgr, int width, int height, int rowLength, int keyColour,
                      std::vector<uint8_t>& out);

// Writes the picture in the format the name asks for. True when written.
bool ImageSaveFile(const std::string& name, const uint8_t* bgr, int width, int height,
                   int rowLength, int keyColour);
