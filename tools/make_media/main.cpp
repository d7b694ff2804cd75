// make_media <folder>: writes every media file of the show into folder. The same run gives
// the same bytes every time; pack the folder into shoebox.sbx with sbxpack afterwards
// (scripts/make_media.sh does both).
#include <cstdio>
#include <string>

#include "pictures.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_media <folder>\n");
        return 1;
    }
    const std::string dir = argv[1];
    struct Step {
        const char* what;
        bool (*run)(const std::string&);
    };
    const Step steps[] = {
        {"text font", media::WriteTextFont},   {"banner font", media::WriteBannerFont},
        {"logos", media::WriteLogos},          {"glows", media::WriteGlows},
        {"tile sheet", media::WriteTileSheet}, {"map", media::WriteMapText},
        {"music", media::WriteMusic},
    };
    for (const Step& s : steps) {
        if (!s.run(dir)) {
            std::fprintf(stderr, "make_media: writing the %s into %s failed\n", s.what,
                         dir.c_str());
            return 2;
        }
    }
    return 0;
}
