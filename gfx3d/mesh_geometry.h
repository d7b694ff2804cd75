// Geometry over an object's triangles, apart from GL: which frames a fractional frame number
// blends, the blended vertices, ray picking and the stencil shadow volume.
#pragma once

#include <vector>

#include "gfx3d/qmd_mesh.h"
#include "gfx3d/view_math.h"

// Frame number f of a mesh of count frames: frames a and b = a + 1 (both wrapped into
// 0..count-1) blended by weight w of b; f wraps the same way, NaN counts as 0.
struct FrameBlend {
    int a = 0, b = 0;
    float w = 0;
};
FrameBlend FrameBlendFor(int count, double frame);

// Positions, normals and colours of frame f (blended as above) into the three arrays.
void FrameVertices(const QmdMesh& mesh, double frame, std::vector<float>& positions,
                   std::vector<float>& normals, std::vector<float>& colours);

// The ray origin + t * direction's first hit on a triangle (both faces), t >= 0; -1 for none.
// positions: 3 floats per vertex, three vertices a triangle, each placed by model.
double RayPick(const std::vector<float>& positions, const Mat4& model, const float origin[3],
               const float direction[3]);

// The shadow volume of the triangles (placed by model) lit from light (x, y, z, w): w != 0 a
// lamp at (x, y, z), w = 0 a light from the direction (x, y, z). Each triangle facing the
// light (counter-clockwise seen from it) becomes a closed prism running away from the light
// for length, starting just behind the triangle: 8 triangles, each wound counter-clockwise
// seen from outside. Appends 3 floats per vertex to out.
void ShadowVolumeBuild(const std::vector<float>& positions, const Mat4& model, const float light[4],
                       float length, std::vector<float>& out);
