#include "gfx3d/qmd_mesh.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "gfx3d/qmd_directions.h"

void QmdPaletteColour(uint32_t entry, float rgb[3]) {
    if (entry >= 0xFFFFFFFCu) {
        rgb[0] = rgb[1] = rgb[2] = 1.0f;
        return;
    }
    rgb[0] = static_cast<float>(entry & 255) / 255.0f;
    rgb[1] = static_cast<float>((entry >> 8) & 255) / 255.0f;
    rgb[2] = static_cast<float>((entry >> 16) & 255) / 255.0f;
}

namespace {
const float* Direction(int index) {
    return kQmdDirections[index < kQmdDirectionCount ? index : 0];
}

// The box around the frame's first n positions; all zeros when n is 0.
void Extent(const QmdFrame& f, size_t n, float lo[3], float hi[3]) {
    for (int i = 0; i < 3; ++i) lo[i] = hi[i] = 0;
    for (size_t k = 0; k < n; ++k)
        for (int i = 0; i < 3; ++i) {
            const float p = f.positions[3 * k + i];
            lo[i] = k == 0 ? p : std::min(lo[i], p);
            hi[i] = k == 0 ? p : std::max(hi[i], p);
        }
}
}  // namespace

void QmdExpandStored(QmdMesh& mesh) {
    const size_t n = static_cast<size_t>(mesh.vertexCount);
    mesh.texCoords.assign(n * 2, 0.0f);
    for (size_t k = 0; k < n && 2 * k + 1 < mesh.storedTexCoords.size(); ++k) {
        mesh.texCoords[2 * k] = mesh.storedTexCoords[2 * k];
        mesh.texCoords[2 * k + 1] = -mesh.storedTexCoords[2 * k + 1];
    }
    for (QmdFrame& f : mesh.frames) {
        f.positions.resize(n * 3);
        f.normals.resize(n * 3);
        f.colours.resize(n * 3);
        for (size_t k = 0; k < n; ++k) {
            const QmdStoredVertex& v = f.stored[k];
            const uint8_t bytes[3] = {v.x, v.y, v.z};
            const float* d = Direction(v.normal);
            for (int i = 0; i < 3; ++i) {
                f.positions[3 * k + i] = (static_cast<float>(bytes[i]) - f.offset[i]) * f.scale[i];
                f.normals[3 * k + i] = d[i];
            }
            // An index past the palette is white rather than a read past its end.
            const uint32_t entry =
                v.palette < mesh.palette.size() ? mesh.palette[v.palette] : 0xFFFFFFFFu;
            QmdPaletteColour(entry, &f.colours[3 * k]);
        }
    }
    QmdBoundsCompute(mesh);
}

void QmdBoundsCompute(QmdMesh& mesh) {
    for (QmdFrame& f : mesh.frames) {
        const size_t n = f.positions.size() / 3;
        float lo[3], hi[3];
        Extent(f, n, lo, hi);
        float r2 = 0;
        for (int i = 0; i < 3; ++i) f.centre[i] = (lo[i] + hi[i]) * 0.5f;
        for (size_t k = 0; k < n; ++k) {
            float d2 = 0;
            for (int i = 0; i < 3; ++i) {
                const float d = f.positions[3 * k + i] - f.centre[i];
                d2 += d * d;
            }
            r2 = std::max(r2, d2);
        }
        f.radius = std::sqrt(r2);
    }
}

int QmdNearestDirection(float x, float y, float z) {
    int best = 0;
    float bestDot = -2.0f;
    const float len = std::sqrt(x * x + y * y + z * z);
    if (len <= 0) return 0;
    for (int i = 0; i < kQmdDirectionCount; ++i) {
        const float* d = kQmdDirections[i];
        const float dot = (d[0] * x + d[1] * y + d[2] * z) / len;
        if (dot > bestDot) bestDot = dot, best = i;
    }
    return best;
}

void QmdQuantise(QmdMesh& mesh) {
    const size_t n = static_cast<size_t>(mesh.vertexCount);
    mesh.palette.clear();
    std::map<uint32_t, uint8_t> paletteIndex;
    auto colourIndex = [&](const float* rgb) -> uint8_t {
        uint32_t c = 0;
        for (int i = 0; i < 3; ++i)
            c |= static_cast<uint32_t>(std::lround(std::clamp(rgb[i], 0.0f, 1.0f) * 255))
                 << (8 * i);
        auto it = paletteIndex.find(c);
        if (it != paletteIndex.end()) return it->second;
        // Past 256 colours the last entry stands for the rest.
        if (mesh.palette.size() >= 256) return 255;
        const auto index = static_cast<uint8_t>(mesh.palette.size());
        mesh.palette.push_back(c);
        paletteIndex[c] = index;
        return index;
    };
    mesh.storedTexCoords.assign(n * 2, 0.0f);
    for (size_t k = 0; k < n && 2 * k + 1 < mesh.texCoords.size(); ++k) {
        mesh.storedTexCoords[2 * k] = mesh.texCoords[2 * k];
        mesh.storedTexCoords[2 * k + 1] = -mesh.texCoords[2 * k + 1];
    }
    for (QmdFrame& f : mesh.frames) {
        float lo[3], hi[3];
        Extent(f, n, lo, hi);
        for (int i = 0; i < 3; ++i) {
            const float span = hi[i] - lo[i];
            f.scale[i] = span > 0 ? span / 255.0f : 1.0f;
            f.offset[i] = -lo[i] / f.scale[i];
        }
        f.stored.assign(n, QmdStoredVertex{});
        for (size_t k = 0; k < n; ++k) {
            QmdStoredVertex& v = f.stored[k];
            uint8_t* bytes[3] = {&v.x, &v.y, &v.z};
            for (int i = 0; i < 3; ++i)
                *bytes[i] = static_cast<uint8_t>(std::clamp(
                    std::lround(f.positions[3 * k + i] / f.scale[i] + f.offset[i]), 0L, 255L));
            const float* nv = f.normals.size() >= 3 * (k + 1) ? &f.normals[3 * k] : nullptr;
            v.normal = static_cast<uint8_t>(nv ? QmdNearestDirection(nv[0], nv[1], nv[2]) : 0);
            v.palette = colourIndex(&f.colours[3 * k]);
        }
    }
    mesh.hasStored = true;
}

void QmdFaceNormals(QmdFrame& f) {
    const size_t n = f.positions.size() / 3;
    f.normals.assign(n * 3, 0.0f);
    for (size_t k = 0; k + 2 < n; k += 3) {
        const float* a = &f.positions[3 * k];
        const float* b = a + 3;
        const float* c = a + 6;
        const float u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        const float v[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        float nv[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                       u[0] * v[1] - u[1] * v[0]};
        const float len = std::sqrt(nv[0] * nv[0] + nv[1] * nv[1] + nv[2] * nv[2]);
        if (len > 0)
            for (float& x : nv) x /= len;
        for (size_t j = 0; j < 3; ++j)
            for (int i = 0; i < 3; ++i) f.normals[3 * (k + j) + i] = nv[i];
    }
}
