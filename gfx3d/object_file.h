// Loading and saving an object's bytes: the binary form, else the text form.
#pragma once

#include <string>

#include "gfx3d/qmd_mesh.h"

// Reads either QMD form from bytes. A wrong binary version sends "Wrong .qmd version." to
// the debug output, a damaged binary file "# read error" and then the name; false, mesh
// empty, on any failure, and why (when given) says what was wrong.
bool ObjectBytesRead(const std::string& bytes, const std::string& name, QmdMesh& mesh,
                     std::string* why = nullptr);
