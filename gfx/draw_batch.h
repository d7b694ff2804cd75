// The 2D draw batch. Consecutive primitives that share texture, filter, wrap, winding and
// alpha-test state are gathered and submitted in one draw; anything that changes that state,
// touches a texture or reads pixels back flushes first. The pixels are the same as drawing
// each primitive on its own: every quad is split along the same diagonal as the fan it
// replaces, and each vertex carries the colour the single draw would have set.
#pragma once

#include <cstdint>
#include <vector>

enum class BatchPrimitive : uint8_t { Triangles, Lines, Points };

struct BatchKey {
    uint32_t texture = 0;  // 0 = untextured (coloured primitives)
    int slot = -1;         // the sprite slot the texture belongs to (-1: none)
    int filter = 0;        // GL_NEAREST or GL_LINEAR set on the texture; 0 leaves it alone
    bool clampToEdge = false;
    bool frontFaceClockwise = false;
    bool alphaTest = true;
    BatchPrimitive primitive = BatchPrimitive::Triangles;
    bool operator==(const BatchKey&) const = default;
};

struct BatchVertex {
    float x, y, z, u, v, r, g, b, a;
};

// The renderer's batch: what is pending, the state it was made with and the viewport its
// run began in.
struct DrawBatch {
    BatchKey currentKey;
    std::vector<BatchVertex> pending;
    std::vector<uint32_t> indices;  // triangle runs only
    int runViewport[4] = {0, 0, 0, 0};
    long long submissions = 0;
};

// Without a renderer the batch calls do nothing and report an empty batch.
// Starts or continues a run of primitives with this state, flushing a different run first
// (a run also ends when the 2D viewport has changed since it began).
void Draw2DBegin(const BatchKey& key);
// Appends one vertex of the current run (lines and points).
void Draw2DVertex(float x, float y, float z, float u, float v, float r, float g, float b, float a);
// Appends a quad of the current triangle run as the fan v0 v1 v2 v3.
void Draw2DQuad(const BatchVertex v[4]);
// Submits what is pending. Called before the buffer swap (through OffscreenEnd), before any
// read-back, texture change, blend change, viewport change and 3D drawing.
void Draw2DFlush();
// Vertices pending (for tests and benchmarks).
int Draw2DPending();
// Submissions made so far (for tests and benchmarks).
long long Draw2DSubmissions();
