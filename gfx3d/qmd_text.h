// The text QMD form: whitespace-separated tokens, '#' to the end of a line a comment.
//   QMDA <version <= 1.1>
//   <T> then T pairs u v
//   <G> then G polygons: red green blue (0..255) <n> then n corners: vertex index, tex index
//   <F> then F frames: <N> then N vertices x y z (and, from version 1.1 on, nx ny nz)
// Every polygon is drawn in every frame; polygons of 3 or more corners become a fan of
// triangles (corner 0, i, i + 1), smaller ones are skipped. A corner whose vertex index is not
// below N or whose texture index is not below T fails the load.
#pragma once

#include <string>

#include "gfx3d/qmd_mesh.h"

// The most triangle vertices a text object may expand to (frames x corners), so a small
// file cannot ask for gigabytes.
constexpr size_t kQmdTextVertexMax = size_t{1} << 22;

// Reads text into mesh (expanded, no stored form); false, mesh empty, on any fault: a token
// where a number belongs that is not decimal number text, a count past the text, an index out
// of range, the text ending early. why (when given) then says which, with its line.
bool QmdTextRead(const std::string& text, QmdMesh& mesh, std::string* why = nullptr);
