// An object's mesh as loaded from a QMD file: frames of triangle vertices (three consecutive
// vertices form one triangle), texture coordinates shared by every frame, and for the binary
// form the stored bytes, kept so a save writes back exactly what was read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One vertex as the binary form stores it.
struct QmdStoredVertex {
    uint8_t x = 0, y = 0, z = 0;
    uint8_t normal = 0;                  // direction index
    uint8_t further1 = 0, further2 = 0;  // the two further direction indices (0 on load)
    uint8_t palette = 0;                 // palette index
};

struct QmdFrame {
    float offset[3] = {0, 0, 0};  // binary quantisation: position = (byte - offset) * scale
    float scale[3] = {1, 1, 1};
    std::vector<QmdStoredVertex> stored;  // binary form only
    // Expanded, what drawing uses: 3 floats per vertex each.
    std::vector<float> positions;
    std::vector<float> normals;
    std::vector<float> colours;   // red, green, blue 0..1
    float centre[3] = {0, 0, 0};  // bounding sphere, for frustum culling
    float radius = 0;
};

struct QmdMesh {
    bool hasStored = false;              // read from the binary form (stored bytes present)
    bool normalsRead = true;             // false: a text file before 1.1 (face normals computed)
    std::vector<uint32_t> palette;       // red in the low byte
    std::vector<float> storedTexCoords;  // (u, t) pairs as the binary file holds them
    std::vector<float> texCoords;        // (u, v) pairs drawing uses, one per vertex
    std::vector<QmdFrame> frames;
    int vertexCount = 0;  // per frame
    bool Empty() const { return frames.empty() || vertexCount <= 0; }
};

// Colour of a palette entry: white for 0xFFFFFFFC and above, else its three low bytes.
void QmdPaletteColour(uint32_t entry, float rgb[3]);
// Fills positions, normals, colours and texCoords from the stored form (binary rules: a
// palette index past the palette gives white, a direction index above 161 entry 0, t negated).
void QmdExpandStored(QmdMesh& mesh);
// Recomputes every frame's bounding sphere from its positions.
void QmdBoundsCompute(QmdMesh& mesh);
// Gives a mesh read from text a stored form (per-frame quantisation to bytes, nearest
// directions, a palette of its colours), so it can be saved in binary form.
void QmdQuantise(QmdMesh& mesh);
// Each triangle's own normal on its three vertices (for meshes read without normals).
void QmdFaceNormals(QmdFrame& frame);
// The index of the table direction nearest to (x, y, z).
int QmdNearestDirection(float x, float y, float z);
