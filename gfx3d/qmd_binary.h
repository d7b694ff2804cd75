// The binary QMD form, little-endian:
//   int32 magic 13021975, float64 version 1.02, int32 frame count F, palette size P and
//   texture coordinate count T; P int32 colours (red in the low byte); T pairs of float32
//   (u, t); F frames of: int32 vertex count V (= T), 3 float32 offset, 3 float32 scale,
//   V vertices of 5 bytes (x, y, z, normal index, palette index).
#pragma once

#include <string>

#include "gfx3d/qmd_mesh.h"

constexpr int32_t kQmdMagic = 13021975;
constexpr double kQmdVersion = 1.02;

enum class QmdReadResult { Ok, NotBinary, WrongVersion, ReadError };

// Reads bytes into mesh (expanded). NotBinary when the magic is not there (the caller tries
// the text form); on any failure mesh is left empty. Every count is checked against the
// bytes left before anything is allocated, and T must equal every frame's V.
QmdReadResult QmdBinaryRead(const std::string& bytes, QmdMesh& mesh);

// The binary bytes of a mesh with a stored form; empty when it has none.
std::string QmdBinaryWrite(const QmdMesh& mesh);
