#include "gfx3d/qmd_text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

class Tokens {
public:
    explicit Tokens(const std::string& t) : text_(t) {}
    // The next token, false at the end.
    bool Next(std::string& out) {
        for (;;) {
            while (at_ < text_.size() && Space(text_[at_])) ++at_;
            if (at_ < text_.size() && text_[at_] == '#') {
                while (at_ < text_.size() && text_[at_] != '\n') ++at_;
                continue;
            }
            break;
        }
        if (at_ >= text_.size()) return false;
        const size_t start = at_;
        while (at_ < text_.size() && !Space(text_[at_]) && text_[at_] != '#') ++at_;
        out.assign(text_, start, at_ - start);
        return true;
    }
    // A number as decimal text reads (atof: trailing text ignored).
    bool Number(double& v) {
        std::string t;
        if (!Next(t)) return false;
        v = std::atof(t.c_str());
        return true;
    }
    // A count or index: the number truncated; false past the ints.
    bool Int(long& v) {
        double d = 0;
        if (!Number(d) || !std::isfinite(d) || std::fabs(d) > 2147483647.0) return false;
        v = static_cast<long>(d);
        return true;
    }
    size_t Left() const { return text_.size() - at_; }

private:
    static bool Space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    const std::string& text_;
    size_t at_ = 0;
};

struct Polygon {
    float rgb[3];
    std::vector<long> vertex, tex;
};

bool Read(Tokens& in, QmdMesh& mesh) {
    std::string magic;
    if (!in.Next(magic) || magic != "QMDA") return false;
    double version = 0;
    if (!in.Number(version) || !(version <= 1.1 + 1e-9)) return false;
    const bool normals = version >= 1.1 - 1e-9;
    long t = 0;
    // Each number takes at least two bytes (a digit and a separator), which bounds a count.
    if (!in.Int(t) || t < 0 || static_cast<size_t>(t) > in.Left()) return false;
    std::vector<float> uv(2 * static_cast<size_t>(t));
    for (float& c : uv) {
        double d = 0;
        if (!in.Number(d)) return false;
        c = static_cast<float>(d);
    }
    long g = 0;
    if (!in.Int(g) || g < 0 || static_cast<size_t>(g) > in.Left()) return false;
    std::vector<Polygon> polys(static_cast<size_t>(g));
    size_t corners = 0;
    for (Polygon& p : polys) {
        for (float& c : p.rgb) {
            double d = 0;
            if (!in.Number(d)) return false;
            // Colour components beyond 0..255 (or not numbers) are held to the range.
            c = std::isnan(d) ? 0.0f : static_cast<float>(std::clamp(d, 0.0, 255.0) / 255.0);
        }
        long n = 0;
        if (!in.Int(n) || n < 0 || static_cast<size_t>(n) > in.Left()) return false;
        p.vertex.resize(n);
        p.tex.resize(n);
        for (long i = 0; i < n; ++i)
            if (!in.Int(p.vertex[i]) || !in.Int(p.tex[i])) return false;
        for (long i = 0; i < n; ++i)
            if (p.tex[i] < 0 || p.tex[i] >= t) return false;
        if (n >= 3) corners += 3 * static_cast<size_t>(n - 2);
    }
    long f = 0;
    if (!in.Int(f) || f < 0 || static_cast<size_t>(f) > in.Left()) return false;
    if (corners > 0 && static_cast<size_t>(f) > kQmdTextVertexMax / corners) return false;
    const int per = normals ? 6 : 3;
    mesh.frames.resize(static_cast<size_t>(f));
    for (QmdFrame& fr : mesh.frames) {
        long n = 0;
        if (!in.Int(n) || n < 0 || static_cast<size_t>(n) > in.Left()) return false;
        std::vector<float> verts(static_cast<size_t>(n) * per);
        for (float& c : verts) {
            double d = 0;
            if (!in.Number(d)) return false;
            c = static_cast<float>(d);
        }
        fr.positions.reserve(corners * 3);
        fr.colours.reserve(corners * 3);
        if (normals) fr.normals.reserve(corners * 3);
        for (const Polygon& p : polys) {
            const size_t m = p.vertex.size();
            if (m < 3) continue;
            for (size_t i = 0; i < m; ++i)
                if (p.vertex[i] < 0 || p.vertex[i] >= n) return false;
            for (size_t i = 1; i + 1 < m; ++i)
                for (size_t c : {size_t{0}, i, i + 1}) {
                    const float* v = &verts[static_cast<size_t>(p.vertex[c]) * per];
                    fr.positions.insert(fr.positions.end(), v, v + 3);
                    if (normals) fr.normals.insert(fr.normals.end(), v + 3, v + 6);
                    fr.colours.insert(fr.colours.end(), p.rgb, p.rgb + 3);
                }
        }
        if (!normals) QmdFaceNormals(fr);
    }
    mesh.texCoords.reserve(corners * 2);
    for (const Polygon& p : polys)
        for (size_t i = 1; i + 1 < p.vertex.size(); ++i)
            for (size_t c : {size_t{0}, i, i + 1}) {
                mesh.texCoords.push_back(uv[2 * static_cast<size_t>(p.tex[c])]);
                mesh.texCoords.push_back(uv[2 * static_cast<size_t>(p.tex[c]) + 1]);
            }
    mesh.vertexCount = static_cast<int>(corners);
    mesh.normalsRead = normals;
    QmdBoundsCompute(mesh);
    return true;
}

}  // namespace

bool QmdTextRead(const std::string& text, QmdMesh& mesh) {
    mesh = QmdMesh{};
    Tokens in(text);
    if (Read(in, mesh)) return true;
    mesh = QmdMesh{};
    return false;
}
