// Picture files on disk: reading a whole file, decoding it, writing one safely.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/decoded_image.h"

// Reads a regular file whole (folders and FIFOs are refused; at most maxBytes).
bool FileReadWhole(const std::string& path, std::vector<uint8_t>& out,
                   uint64_t maxBytes = uint64_t{1} << 30);

// Writes bytes to a temporary file beside path and renames it into place, so a failed write
// never leaves a half-written or missing file. False on any short write.
bool FileWriteReplace(const std::string& path, const std::vector<uint8_t>& bytes);

// Tries the BMP reader, then the PNG reader. False when neither accepts the file.
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
