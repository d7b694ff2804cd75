// The 2D draw batch. Consecutive primitives that share texture, filter, wrap, winding and
// alpha-test state are gathered and submitted in one draw; anything that changes that state,
// touches a texture or reads pixels back flushes first. The pixels are the same as drawing
// each primitive on its own.
#pragma once

#include <cstdint>

enum class BatchPrimitive : uint8_t { Quads, Lines, Points };

struct BatchKey {
    uint32_t texture = 0;  // 0 = untextured (coloured primitives)
    int filter = 0;        // GL_NEAREST or GL_LINEAR set on the texture; 0 leaves it alone
    bool clampToEdge = false;
    bool frontFaceClockwise = false;
    bool alphaTest = true;
    BatchPrimitive primitive = BatchPrimitive::Quads;
    bool operator==(const BatchKey&) const = default;
};

// Starts or continues a run of primitives with this state, flushing a different run first.
void Draw2DBegin(const BatchKey& key);
// Appends one vertex of the current run.
void Draw2DVertex(float x, float y, float z, float u, float v, float r, float g, float b, float a);
// Submits what is pending. Called before the buffer swap (through OffscreenEnd), before any
// read-back, texture change, blend change, viewport change and 3D drawing.
void Draw2DFlush();
// Vertices pending (for tests and benchmarks).
int Draw2DPending();
