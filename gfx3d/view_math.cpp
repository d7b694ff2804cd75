#include "gfx3d/view_math.h"

#include <cmath>
#include <utility>

namespace {
void Normalise(float v[3]) {
    const float len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (len == 0) return;
    for (int i = 0; i < 3; ++i) v[i] /= len;
}
void Cross(const float a[3], const float b[3], float out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}
}  // namespace

Mat4 Mat4Identity() {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

Mat4 Mat4Multiply(const Mat4& a, const Mat4& b) {
    Mat4 m{};
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            float s = 0;
            for (int k = 0; k < 4; ++k) s += a[k * 4 + r] * b[c * 4 + k];
            m[c * 4 + r] = s;
        }
    return m;
}

Mat4 Mat4Translation(float x, float y, float z) {
    Mat4 m = Mat4Identity();
    m[12] = x, m[13] = y, m[14] = z;
    return m;
}

Mat4 Mat4Scaling(float x, float y, float z) {
    Mat4 m = Mat4Identity();
    m[0] = x, m[5] = y, m[10] = z;
    return m;
}

Mat4 Mat4Rotation(float degrees, float x, float y, float z) {
    float a[3] = {x, y, z};
    const float len = std::sqrt(x * x + y * y + z * z);
    if (len == 0) return Mat4Identity();
    Normalise(a);
    const double rad = degrees * 3.14159265358979323846 / 180.0;
    const float c = static_cast<float>(std::cos(rad)), s = static_cast<float>(std::sin(rad));
    const float t = 1 - c;
    Mat4 m = Mat4Identity();
    m[0] = t * a[0] * a[0] + c;
    m[1] = t * a[0] * a[1] + s * a[2];
    m[2] = t * a[0] * a[2] - s * a[1];
    m[4] = t * a[0] * a[1] - s * a[2];
    m[5] = t * a[1] * a[1] + c;
    m[6] = t * a[1] * a[2] + s * a[0];
    m[8] = t * a[0] * a[2] + s * a[1];
    m[9] = t * a[1] * a[2] - s * a[0];
    m[10] = t * a[2] * a[2] + c;
    return m;
}

Mat4 Mat4LookAt(const float eye[3], const float target[3], const float up[3]) {
    float f[3] = {eye[0] - target[0], eye[1] - target[1], eye[2] - target[2]};
    Normalise(f);
    float s[3], v[3];
    Cross(up, f, s);
    Normalise(s);
    Cross(f, s, v);
    Normalise(v);
    Mat4 m = Mat4Identity();
    for (int i = 0; i < 3; ++i) {
        m[i * 4 + 0] = s[i];
        m[i * 4 + 1] = v[i];
        m[i * 4 + 2] = f[i];
    }
    return Mat4Multiply(m, Mat4Translation(-eye[0], -eye[1], -eye[2]));
}

Mat4 Mat4Frustum(float l, float r, float b, float t, float n, float f) {
    Mat4 m{};
    m[0] = 2 * n / (r - l);
    m[5] = 2 * n / (t - b);
    m[8] = (r + l) / (r - l);
    m[9] = (t + b) / (t - b);
    m[10] = -(f + n) / (f - n);
    m[11] = -1;
    m[14] = -2 * f * n / (f - n);
    return m;
}

Mat4 Mat4Ortho(float l, float r, float b, float t, float n, float f) {
    Mat4 m = Mat4Identity();
    m[0] = 2 / (r - l);
    m[5] = 2 / (t - b);
    m[10] = -2 / (f - n);
    m[12] = -(r + l) / (r - l);
    m[13] = -(t + b) / (t - b);
    m[14] = -(f + n) / (f - n);
    return m;
}

void Mat4Apply(const Mat4& m, float x, float y, float z, float w, float out[4]) {
    for (int r = 0; r < 4; ++r) out[r] = m[r] * x + m[4 + r] * y + m[8 + r] * z + m[12 + r] * w;
}

bool Mat4Invert(const Mat4& m, Mat4& out) {
    // Gauss-Jordan on [m | I], in double for the small determinants picking meets.
    double a[4][8];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            a[r][c] = m[c * 4 + r];
            a[r][c + 4] = r == c ? 1 : 0;
        }
    for (int c = 0; c < 4; ++c) {
        int p = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[p][c])) p = r;
        if (std::fabs(a[p][c]) < 1e-12) {
            out = Mat4Identity();
            return false;
        }
        for (int k = 0; k < 8; ++k) std::swap(a[c][k], a[p][k]);
        const double d = a[c][c];
        for (int k = 0; k < 8; ++k) a[c][k] /= d;
        for (int r = 0; r < 4; ++r)
            if (r != c) {
                const double e = a[r][c];
                for (int k = 0; k < 8; ++k) a[r][k] -= e * a[c][k];
            }
    }
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) out[c * 4 + r] = static_cast<float>(a[r][c + 4]);
    return true;
}

double ViewTangent(double e) {
    const double r = e * e;
    return e *
           (1 +
            r * (0.3333314 +
                 r * (0.1333924 +
                      r * (0.05337406 + r * (0.02456509 + r * (0.002900525 + r * 0.009516809))))));
}

ProjectionBox ProjectionFor(double nearPlane, double farPlane, double fov, double aspect) {
    ProjectionBox box{};
    box.nearPlane = nearPlane;
    box.farPlane = farPlane;
    const double t = fov + 5;
    box.cullingTangent = t > 89 ? std::tan(1.553343) : std::tan(t * 0.017453292);
    double h = 0;
    if (fov > 0) {
        h = nearPlane * ViewTangent(fov * 3.1415927 / 360);
        box.perspective = true;
    } else {
        h = nearPlane * ViewTangent(-fov * 3.1415927 / 360) * 100;
        box.perspective = false;
        box.cullingTangent = std::tan(1.553343);
    }
    box.left = -aspect * h;
    box.right = aspect * h;
    box.bottom = -h;
    box.top = h;
    return box;
}

Mat4 ProjectionMatrix(const ProjectionBox& b) {
    const auto f = [](double v) { return static_cast<float>(v); };
    return b.perspective ? Mat4Frustum(f(b.left), f(b.right), f(b.bottom), f(b.top), f(b.nearPlane),
                                       f(b.farPlane))
                         : Mat4Ortho(f(b.left), f(b.right), f(b.bottom), f(b.top), f(b.nearPlane),
                                     f(b.farPlane));
}

FrustumPlanes FrustumPlanesOf(const Mat4& m) {
    auto row = [&](int r, int c) { return m[c * 4 + r]; };
    FrustumPlanes p{};
    for (int i = 0; i < 6; ++i) {
        const int axis = i / 2;
        const float sign = (i % 2 == 0) ? 1.0f : -1.0f;
        for (int c = 0; c < 4; ++c) p[i][c] = row(3, c) + sign * row(axis, c);
        const float len = std::sqrt(p[i][0] * p[i][0] + p[i][1] * p[i][1] + p[i][2] * p[i][2]);
        if (len > 0)
            for (float& v : p[i]) v /= len;
    }
    return p;
}

bool SphereInFrustum(const FrustumPlanes& planes, float x, float y, float z, float radius) {
    for (const auto& p : planes)
        if (p[0] * x + p[1] * y + p[2] * z + p[3] < -radius) return false;
    return true;
}

bool ScreenRay(const Mat4& m, double vw, double vh, double px, double py, float origin[3],
               float direction[3]) {
    Mat4 inv;
    if (vw <= 0 || vh <= 0 || !Mat4Invert(m, inv)) return false;
    const float x = static_cast<float>(2 * (px + 0.5) / vw - 1);
    const float y = static_cast<float>(1 - 2 * (py + 0.5) / vh);
    float n[4], f[4];
    Mat4Apply(inv, x, y, -1, 1, n);
    Mat4Apply(inv, x, y, 1, 1, f);
    if (n[3] == 0 || f[3] == 0) return false;
    float len = 0;
    for (int i = 0; i < 3; ++i) {
        origin[i] = n[i] / n[3];
        direction[i] = f[i] / f[3] - origin[i];
        len += direction[i] * direction[i];
    }
    len = std::sqrt(len);
    if (len == 0) return false;
    for (int i = 0; i < 3; ++i) direction[i] /= len;
    return true;
}
