#include "tools/qmdconvert/obj_parse.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace objparse {
namespace {

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

bool Number(const std::string& text, float& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const double d = std::strtod(text.c_str(), &end);
    if (*end != '\0' || errno == ERANGE || !std::isfinite(d)) return false;
    out = static_cast<float>(d);
    return true;
}

// An index as OBJ writes it: 1-based, or negative counting back from the last one defined.
// "" (an empty slot, as in 3//5) is -1.
bool Index(const std::string& text, size_t defined, const char* what, const char* whats, int& out,
           std::string& why) {
    if (text.empty()) {
        out = -1;
        return true;
    }
    char* end = nullptr;
    errno = 0;
    const long i = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE) {
        why = "'" + text + "' is not a " + what + " index";
        return false;
    }
    const long n = static_cast<long>(defined);
    const long at = i > 0 ? i - 1 : n + i;
    if (i == 0 || at < 0 || at >= n) {
        why = std::string(what) + " " + text + " is past the " + std::to_string(n) + " " +
              (n == 1 ? what : whats) + " defined so far";
        return false;
    }
    out = static_cast<int>(at);
    return true;
}

bool CornerOf(const std::string& word, const ObjModel& m, Corner& c, std::string& why) {
    std::string part[3];
    int slashes = 0;
    for (char ch : word) {
        if (ch == '/') {
            if (++slashes > 2) break;
        } else {
            part[slashes] += ch;
        }
    }
    if (slashes > 2 || part[0].empty()) {
        why = "'" + word + "' is not a corner (vertex, vertex/texture or vertex/texture/normal)";
        return false;
    }
    return Index(part[0], m.positions.size() / 3, "vertex", "vertices", c.position, why) &&
           Index(part[1], m.texCoords.size() / 2, "texture coordinate", "texture coordinates",
                 c.texCoord, why) &&
           Index(part[2], m.normals.size() / 3, "normal", "normals", c.normal, why);
}

// The numbers after the keyword, of which there are least to most; the first keep of them
// are appended to out, missing ones (past least) as 0.
bool Numbers(const std::vector<std::string>& w, size_t least, size_t most, size_t keep,
             std::vector<float>& out, std::string& why) {
    const size_t n = w.size() - 1;
    if (n < least || n > most) {
        why = "needs " + std::to_string(least) +
              (most > least ? " to " + std::to_string(most) : "") + " numbers, has " +
              std::to_string(n);
        return false;
    }
    std::vector<float> v(std::max(n, keep), 0.0f);
    for (size_t i = 0; i < n; ++i)
        if (!Number(w[i + 1], v[i])) {
            why = "'" + w[i + 1] + "' is not a number";
            return false;
        }
    out.insert(out.end(), v.begin(), v.begin() + static_cast<long>(keep));
    return true;
}

bool Statement(const std::vector<std::string>& w, ObjModel& m, std::string& why) {
    const std::string& key = w[0];
    // A position's fourth number (w) and a texture coordinate's third are allowed and dropped;
    // "vt u" alone has v 0.
    if (key == "v") return Numbers(w, 3, 4, 3, m.positions, why);
    if (key == "vt") return Numbers(w, 1, 3, 2, m.texCoords, why);
    if (key == "vn") return Numbers(w, 3, 3, 3, m.normals, why);
    if (key == "f") {
        if (w.size() < 4) {
            why = "a face needs at least 3 corners, has " + std::to_string(w.size() - 1);
            return false;
        }
        std::vector<Corner> corners(w.size() - 1);
        for (size_t i = 0; i < corners.size(); ++i)
            if (!CornerOf(w[i + 1], m, corners[i], why)) return false;
        for (size_t i = 1; i + 1 < corners.size(); ++i)
            m.triangles.push_back({corners[0], corners[i], corners[i + 1]});
        return true;
    }
    static const char* const kReadPast[] = {"o", "g", "s", "usemtl", "mtllib", "l", "p"};
    for (const char* k : kReadPast)
        if (key == k) return true;
    why = "'" + key + "' is not an OBJ statement qmdconvert knows";
    return false;
}

}  // namespace

bool ObjParse(const std::string& text, ObjModel& model, std::string& error) {
    model = ObjModel{};
    std::istringstream in(text);
    int lineNo = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNo;
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.resize(hash);
        const std::vector<std::string> w = Words(line);
        if (w.empty()) continue;
        std::string why;
        if (!Statement(w, model, why)) {
            error = "line " + std::to_string(lineNo) + ": " + w[0] + ": " + why;
            model = ObjModel{};
            return false;
        }
    }
    if (model.triangles.empty()) {
        error = "no faces (f lines): nothing to convert";
        model = ObjModel{};
        return false;
    }
    return true;
}

}  // namespace objparse
