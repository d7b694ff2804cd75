#include "gfx3d/qmd_text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

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
    // A number written as decimal text ("-1", "0.5", "2e3"); anything else (a word, "nan",
    // hexadecimal, trailing letters) is a fault, so junk is never read as 0.
    bool Number(double& v) {
        std::string t;
        if (!Next(t)) return Fail("the text ends early");
        if (!Decimal(t)) return Fail("\"" + t + "\" is not a number");
        v = std::strtod(t.c_str(), nullptr);
        return true;
    }
    // A count or index: the number truncated; false past the ints.
    bool Int(long& v) {
        double d = 0;
        if (!Number(d)) return false;
        if (!std::isfinite(d) || std::fabs(d) > 2147483647.0) return Fail("a count out of range");
        v = static_cast<long>(d);
        return true;
    }
    size_t Left() const { return text_.size() - at_; }
    // Records the first fault with the line it was met on; always false.
    bool Fail(const std::string& what) {
        if (why_.empty()) why_ = what + " (line " + std::to_string(Line()) + ")";
        return false;
    }
    const std::string& Why() const { return why_; }

private:
    static bool Space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    static bool Digit(char c) { return c >= '0' && c <= '9'; }
    static bool Decimal(const std::string& t) {
        size_t i = 0, digits = 0;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        for (; i < t.size() && Digit(t[i]); ++i) ++digits;
        if (i < t.size() && t[i] == '.')
            for (++i; i < t.size() && Digit(t[i]); ++i) ++digits;
        if (digits == 0) return false;
        if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
            ++i;
            if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
            size_t exp = 0;
            for (; i < t.size() && Digit(t[i]); ++i) ++exp;
            if (exp == 0) return false;
        }
        return i == t.size();
    }
    int Line() const {
        int line = 1;
        for (size_t i = 0; i < at_ && i < text_.size(); ++i) line += text_[i] == '\n';
        return line;
    }
    const std::string& text_;
    size_t at_ = 0;
    std::string why_;
};

struct Polygon {
    float rgb[3];
    std::vector<long> vertex, tex;
};

// A count: a number, not negative, no more than the text left could hold.
bool Count(Tokens& in, long& v, const char* what) {
    if (!in.Int(v)) return false;
    if (v < 0 || static_cast<size_t>(v) > in.Left())
        return in.Fail(std::string(what) + " " + std::to_string(v) + " is impossible here");
    return true;
}

bool Read(Tokens& in, QmdMesh& mesh) {
    std::string magic;
    if (!in.Next(magic) || magic != "QMDA") return in.Fail("not a QMDA text");
    double version = 0;
    if (!in.Number(version)) return false;
    if (!(version <= 1.1 + 1e-9)) return in.Fail("version above 1.1");
    const bool normals = version >= 1.1 - 1e-9;
    long t = 0;
    // Each number takes at least two bytes (a digit and a separator), which bounds a count.
    if (!Count(in, t, "texture coordinate count")) return false;
    std::vector<float> uv(2 * static_cast<size_t>(t));
    for (float& c : uv) {
        double d = 0;
        if (!in.Number(d)) return false;
        c = static_cast<float>(d);
    }
    long g = 0;
    if (!Count(in, g, "polygon count")) return false;
    std::vector<Polygon> polys(static_cast<size_t>(g));
    size_t corners = 0;
    for (Polygon& p : polys) {
        for (float& c : p.rgb) {
            double d = 0;
            if (!in.Number(d)) return false;
            // Colour components beyond 0..255 are held to the range.
            c = static_cast<float>(std::clamp(d, 0.0, 255.0) / 255.0);
        }
        long n = 0;
        if (!Count(in, n, "corner count")) return false;
        p.vertex.resize(n);
        p.tex.resize(n);
        for (long i = 0; i < n; ++i)
            if (!in.Int(p.vertex[i]) || !in.Int(p.tex[i])) return false;
        for (long i = 0; i < n; ++i)
            if (p.tex[i] < 0 || p.tex[i] >= t)
                return in.Fail("texture coordinate index " + std::to_string(p.tex[i]) +
                               " not below " + std::to_string(t));
        if (n >= 3) corners += 3 * static_cast<size_t>(n - 2);
    }
    long f = 0;
    if (!Count(in, f, "frame count")) return false;
    if (corners > 0 && static_cast<size_t>(f) > kQmdTextVertexMax / corners)
        return in.Fail("more than " + std::to_string(kQmdTextVertexMax) + " vertices in all");
    const int per = normals ? 6 : 3;
    mesh.frames.resize(static_cast<size_t>(f));
    for (QmdFrame& fr : mesh.frames) {
        long n = 0;
        if (!Count(in, n, "vertex count")) return false;
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
                if (p.vertex[i] < 0 || p.vertex[i] >= n)
                    return in.Fail("vertex index " + std::to_string(p.vertex[i]) + " not below " +
                                   std::to_string(n));
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

bool QmdTextRead(const std::string& text, QmdMesh& mesh, std::string* why) {
    mesh = QmdMesh{};
    Tokens in(text);
    if (Read(in, mesh)) return true;
    mesh = QmdMesh{};
    if (why) *why = in.Why();
    return false;
}
