#include "gfx3d/mesh_geometry.h"

#include <algorithm>
#include <cmath>

namespace {
struct V3 {
    float x, y, z;
};
V3 operator-(V3 a, V3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
V3 operator+(V3 a, V3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
V3 operator*(V3 a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
float Dot(V3 a, V3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
V3 Cross(V3 a, V3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
V3 Unit(V3 a) {
    const float len = std::sqrt(Dot(a, a));
    return len > 0 ? a * (1 / len) : a;
}
V3 Placed(const Mat4& m, const float* p) {
    float o[4];
    Mat4Apply(m, p[0], p[1], p[2], 1, o);
    return {o[0], o[1], o[2]};
}
void Put(std::vector<float>& out, V3 v) {
    out.push_back(v.x);
    out.push_back(v.y);
    out.push_back(v.z);
}
// Appends triangle (a, b, c), turned round when it faces the inside point.
void PutOutward(std::vector<float>& out, V3 a, V3 b, V3 c, V3 inside) {
    if (Dot(Cross(b - a, c - a), a - inside) < 0) std::swap(b, c);
    Put(out, a);
    Put(out, b);
    Put(out, c);
}
}  // namespace

FrameBlend FrameBlendFor(int count, double frame) {
    FrameBlend fb;
    if (count <= 0) return fb;
    if (!std::isfinite(frame)) frame = 0;
    double f = std::fmod(frame, static_cast<double>(count));
    if (f < 0) f += count;
    const double whole = std::floor(f);
    fb.a = static_cast<int>(whole) % count;
    fb.b = (fb.a + 1) % count;
    fb.w = static_cast<float>(f - whole);
    return fb;
}

void FrameVertices(const QmdMesh& mesh, double frame, std::vector<float>& positions,
                   std::vector<float>& normals, std::vector<float>& colours) {
    const FrameBlend fb = FrameBlendFor(static_cast<int>(mesh.frames.size()), frame);
    if (mesh.frames.empty()) {
        positions.clear(), normals.clear(), colours.clear();
        return;
    }
    const QmdFrame& a = mesh.frames[fb.a];
    const QmdFrame& b = mesh.frames[fb.b];
    auto blend = [&](const std::vector<float>& x, const std::vector<float>& y,
                     std::vector<float>& out) {
        out.resize(x.size());
        const float w = y.size() == x.size() ? fb.w : 0.0f;
        for (size_t i = 0; i < x.size(); ++i) out[i] = w == 0 ? x[i] : x[i] + (y[i] - x[i]) * w;
    };
    blend(a.positions, b.positions, positions);
    blend(a.normals, b.normals, normals);
    blend(a.colours, b.colours, colours);
}

double RayPick(const std::vector<float>& positions, const Mat4& model, const float origin[3],
               const float direction[3]) {
    const V3 o{origin[0], origin[1], origin[2]}, d{direction[0], direction[1], direction[2]};
    double best = -1;
    for (size_t k = 0; k + 9 <= positions.size(); k += 9) {
        const V3 a = Placed(model, &positions[k]), b = Placed(model, &positions[k + 3]),
                 c = Placed(model, &positions[k + 6]);
        // Moller-Trumbore, in double: the determinant of a thin triangle is small.
        const V3 e1 = b - a, e2 = c - a;
        const V3 p = Cross(d, e2);
        const double det = Dot(e1, p);
        if (std::fabs(det) < 1e-12) continue;
        const V3 s = o - a;
        const double u = Dot(s, p) / det;
        if (u < 0 || u > 1) continue;
        const V3 q = Cross(s, e1);
        const double v = Dot(d, q) / det;
        if (v < 0 || u + v > 1) continue;
        const double t = Dot(e2, q) / det;
        if (t >= 0 && (best < 0 || t < best)) best = t;
    }
    return best;
}

void ShadowVolumeBuild(const std::vector<float>& positions, const Mat4& model, const float light[4],
                       float length, std::vector<float>& out) {
    const V3 lp{light[0], light[1], light[2]};
    const bool lamp = light[3] != 0;
    for (size_t k = 0; k + 9 <= positions.size(); k += 9) {
        const V3 a = Placed(model, &positions[k]), b = Placed(model, &positions[k + 3]),
                 c = Placed(model, &positions[k + 6]);
        const V3 n = Cross(b - a, c - a);
        if (Dot(n, n) == 0) continue;
        const V3 toLight = lamp ? lp - (a + b + c) * (1.0f / 3) : lp;
        if (Dot(n, toLight) <= 0) continue;
        // Away from the light from each corner; the prism starts a hair behind the triangle
        // so the lit face itself never counts as inside.
        auto away = [&](V3 p) { return Unit(lamp ? p - lp : lp * -1.0f); };
        const float size =
            std::sqrt(std::max({Dot(b - a, b - a), Dot(c - b, c - b), Dot(a - c, a - c)}));
        const float skin = 1e-2f * size;
        const V3 na = a + away(a) * skin, nb = b + away(b) * skin, nc = c + away(c) * skin;
        const V3 fa = a + away(a) * length, fb = b + away(b) * length, fc = c + away(c) * length;
        const V3 inside = (na + nb + nc + fa + fb + fc) * (1.0f / 6);
        PutOutward(out, na, nb, nc, inside);
        PutOutward(out, fa, fb, fc, inside);
        const V3 nearC[3] = {na, nb, nc}, farC[3] = {fa, fb, fc};
        for (int e = 0; e < 3; ++e) {
            const int f = (e + 1) % 3;
            PutOutward(out, nearC[e], nearC[f], farC[f], inside);
            PutOutward(out, nearC[e], farC[f], farC[e], inside);
        }
    }
}
