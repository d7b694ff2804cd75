#include "gfx3d/scene_file.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace {

std::string Trim(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return {};
    const size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

// Whole integers only: "3x" or "1e9" is a fault, not a truncated number.
bool IntOf(const std::string& word, long lo, long hi, int& out) {
    if (word.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(word.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
    out = static_cast<int>(v);
    return true;
}

}  // namespace

bool SceneFileRead(const std::string& text, int maxCount, SceneFile& scene) {
    scene = SceneFile{};
    if (text.compare(0, 4, ";QMW") != 0) return false;
    std::vector<std::string> lines;
    {
        std::istringstream in(text.substr(4));
        std::string line;
        while (std::getline(in, line)) {
            line = Trim(line);
            if (!line.empty() && line[0] != '#') lines.push_back(line);
        }
    }
    bool counted = false;
    size_t i = 0;
    auto names = [&](size_t n, std::vector<std::string>& out) {
        if (n > lines.size() - i) return false;
        out.assign(lines.begin() + static_cast<long>(i), lines.begin() + static_cast<long>(i + n));
        i += n;
        return true;
    };
    while (i < lines.size()) {
        std::istringstream words(lines[i++]);
        std::string key;
        words >> key;
        std::vector<std::string> rest;
        for (std::string w; words >> w;) rest.push_back(w);
        if (key == "count") {
            if (counted || rest.size() != 1 || !IntOf(rest[0], 1, maxCount, scene.count))
                return false;
            counted = true;
            scene.ta.assign(scene.count, -1);
            scene.tb.assign(scene.count, -1);
        } else if (!counted) {
            return false;
        } else if (key == "textures") {
            int n = 0;
            if (!scene.textures.empty() || rest.size() != 2 || !IntOf(rest[0], 0, 65503, n) ||
                !IntOf(rest[1], 0, 65502 - n, scene.firstSprite) || !names(n, scene.textures))
                return false;
        } else if (key == "objects") {
            if (!scene.objects.empty() || !rest.empty() ||
                !names(static_cast<size_t>(scene.count), scene.objects))
                return false;
        } else if (key == "ta" || key == "tb") {
            std::vector<int>& t = key == "ta" ? scene.ta : scene.tb;
            if (rest.size() != static_cast<size_t>(scene.count)) return false;
            for (size_t k = 0; k < rest.size(); ++k)
                if (!IntOf(rest[k], -1, 65535, t[k])) return false;
        } else {
            return false;
        }
    }
    if (!counted || scene.objects.empty()) return false;
    // Texture indices are checked once every section is read, whatever their order.
    for (const std::vector<int>* t : {&scene.ta, &scene.tb})
        for (int v : *t)
            if (v >= static_cast<int>(scene.textures.size())) return false;
    return true;
}
