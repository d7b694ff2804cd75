// OBJ models to a QMD mesh: each model one animation frame, every triangle corner one vertex,
// one colour for the whole object. The mesh is given its stored form (gfx3d's quantisation)
// so QmdBinaryWrite writes it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfx3d/qmd_mesh.h"
#include "tools/qmdconvert/obj_parse.h"

namespace objparse {

// red, green, blue 0..255. The frames share their texture coordinates, so every model must
// have as many triangles as the first; the first model's texture coordinates are the ones
// kept. A triangle whose corners do not all name a normal gets its face normal. false, with
// error naming the frame (1-based), when a model does not fit.
bool ObjToQmd(const std::vector<ObjModel>& frames, const uint8_t rgb[3], QmdMesh& mesh,
              std::string& error);

}  // namespace objparse
