// Wavefront OBJ geometry as qmdconvert reads it: vertex positions (v), texture coordinates
// (vt), normals (vn) and faces (f), faces of more than three corners split into a fan of
// triangles. Groups, smoothing, materials, lines and points are read past; anything else
// that is wrong (a number that is not one, an index of 0 or past its list) refuses the file.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace objparse {

// One face corner: 0-based indices into the lists, -1 where the corner names none.
struct Corner {
    int position = -1, texCoord = -1, normal = -1;
};

struct ObjModel {
    std::vector<float> positions;  // x, y, z per vertex
    std::vector<float> texCoords;  // u, v per coordinate, as the file has them
    std::vector<float> normals;    // x, y, z per normal
    std::vector<std::array<Corner, 3>> triangles;
};

// Parses text into model. On a fault returns false, model empty, and error says where:
// "line 7: f: vertex 9 is past the 8 vertices defined so far".
bool ObjParse(const std::string& text, ObjModel& model, std::string& error);

}  // namespace objparse
