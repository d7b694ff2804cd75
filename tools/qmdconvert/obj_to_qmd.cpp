#include "tools/qmdconvert/obj_to_qmd.h"

namespace objparse {
namespace {

// The vertex count is an int32 and every frame holds them all: a bound well inside both.
constexpr size_t kTrianglesMax = size_t{1} << 24;

void FrameOf(const ObjModel& m, const float colour[3], QmdFrame& f) {
    const size_t n = m.triangles.size() * 3;
    f.normals.reserve(3 * n);
    f.colours.reserve(3 * n);
    QmdFrame faces;  // face normals, for triangles without normals of their own
    for (const auto& t : m.triangles)
        for (const Corner& c : t)
            faces.positions.insert(faces.positions.end(), &m.positions[3 * c.position],
                                   &m.positions[3 * c.position] + 3);
    QmdFaceNormals(faces);
    f.positions = faces.positions;
    for (size_t k = 0; k < m.triangles.size(); ++k) {
        const auto& t = m.triangles[k];
        const bool own = t[0].normal >= 0 && t[1].normal >= 0 && t[2].normal >= 0;
        for (size_t j = 0; j < 3; ++j) {
            const float* nv = own ? &m.normals[3 * t[j].normal] : &faces.normals[9 * k + 3 * j];
            f.normals.insert(f.normals.end(), nv, nv + 3);
            f.colours.insert(f.colours.end(), colour, colour + 3);
        }
    }
}

}  // namespace

bool ObjToQmd(const std::vector<ObjModel>& frames, const uint8_t rgb[3], QmdMesh& mesh,
              std::string& error) {
    mesh = QmdMesh{};
    if (frames.empty()) {
        error = "no frames";
        return false;
    }
    const size_t triangles = frames[0].triangles.size();
    if (triangles > kTrianglesMax) {
        error = "frame 1 has " + std::to_string(triangles) + " triangles, more than " +
                std::to_string(kTrianglesMax);
        return false;
    }
    for (size_t i = 1; i < frames.size(); ++i)
        if (frames[i].triangles.size() != triangles) {
            error = "frame " + std::to_string(i + 1) + " has " +
                    std::to_string(frames[i].triangles.size()) + " triangles, frame 1 has " +
                    std::to_string(triangles) + " (the frames of one object share their triangles)";
            return false;
        }
    const float colour[3] = {rgb[0] / 255.0f, rgb[1] / 255.0f, rgb[2] / 255.0f};
    for (const ObjModel& m : frames) FrameOf(m, colour, mesh.frames.emplace_back());
    mesh.vertexCount = static_cast<int>(triangles * 3);
    // OBJ's v runs up the picture, as drawing's does; QMD stores t = 1 - v (it counts down
    // from the top) and draws -t, the same with repeating textures. QmdQuantise stores the
    // negated drawing coordinate, so v - 1 here is stored as 1 - v.
    for (const auto& t : frames[0].triangles)
        for (const Corner& c : t) {
            const bool has = c.texCoord >= 0;
            mesh.texCoords.push_back(has ? frames[0].texCoords[2 * c.texCoord] : 0.0f);
            mesh.texCoords.push_back((has ? frames[0].texCoords[2 * c.texCoord + 1] : 1.0f) - 1.0f);
        }
    QmdQuantise(mesh);
    QmdExpandStored(mesh);
    return true;
}

}  // namespace objparse
