// Loading a picture file into a sprite slot by name, with the failure said in the error log.
#pragma once

#include <string>

// Reads the named file (loose or from the media archive) and decodes it into slot s. On
// failure the error log gets one line, "<command>: <name>: <why>", and false comes back.
bool PictureFileLoad(const char* command, int s, const std::string& name, int transparentColour,
                     bool normalMap);
