// The show's pictures, each written into a folder: the two font sheets, the two logos, the
// two particle glows and the tile sheet.
#pragma once

#include <string>

namespace media {

bool WriteTextFont(const std::string& dir);    // "Lucida Console 112x88.png"
bool WriteBannerFont(const std::string& dir);  // "Splash 480x240.png"
bool WriteLogos(const std::string& dir);       // "image 1.2.png", "image 2.2.png"
bool WriteGlows(const std::string& dir);       // "circle 2.png", "circle 3.png"
bool WriteTileSheet(const std::string& dir);   // "map.png"
bool WriteMapText(const std::string& dir);     // "map.txt"
bool WriteMusic(const std::string& dir);       // "music.mp3"

}  // namespace media
