// Binary QMD files built byte by byte in the tests, so every field is the test's own.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace qmdtest {

struct Vertex {
    uint8_t x, y, z, normal, palette;
};
struct Frame {
    float offset[3];
    float scale[3];
    std::vector<Vertex> vertices;
    int32_t count = -1;  // -1: the vertices' number
};
struct File {
    double version = 1.02;
    std::vector<uint32_t> palette;
    std::vector<float> texCoords;  // u, t pairs
    std::vector<Frame> frames;
    int32_t frameCount = -1, paletteCount = -1, texCount = -1;  // -1: the real numbers
};

inline void U32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 255);
}
inline void F32(std::string& out, float f) {
    uint32_t u;
    std::memcpy(&u, &f, 4);
    U32(out, u);
}
inline std::string Bytes(const File& f) {
    std::string out;
    U32(out, 13021975);
    uint64_t v;
    std::memcpy(&v, &f.version, 8);
    U32(out, static_cast<uint32_t>(v));
    U32(out, static_cast<uint32_t>(v >> 32));
    U32(out, static_cast<uint32_t>(f.frameCount != -1 ? f.frameCount : int32_t(f.frames.size())));
    U32(out,
        static_cast<uint32_t>(f.paletteCount != -1 ? f.paletteCount : int32_t(f.palette.size())));
    U32(out,
        static_cast<uint32_t>(f.texCount != -1 ? f.texCount : int32_t(f.texCoords.size() / 2)));
    for (uint32_t c : f.palette) U32(out, c);
    for (float t : f.texCoords) F32(out, t);
    for (const Frame& fr : f.frames) {
        U32(out, static_cast<uint32_t>(fr.count != -1 ? fr.count : int32_t(fr.vertices.size())));
        for (float o : fr.offset) F32(out, o);
        for (float s : fr.scale) F32(out, s);
        for (const Vertex& vx : fr.vertices)
            out += std::string{static_cast<char>(vx.x), static_cast<char>(vx.y),
                               static_cast<char>(vx.z), static_cast<char>(vx.normal),
                               static_cast<char>(vx.palette)};
    }
    return out;
}

// Two frames of two triangles, three palette entries (the last -1), every field different.
inline File Sample() {
    File f;
    f.palette = {0x00336699u, 0x00ff0000u, 0xffffffffu};
    for (int k = 0; k < 6; ++k) {
        f.texCoords.push_back(0.125f * k);
        f.texCoords.push_back(0.75f - 0.0625f * k);
    }
    for (int fr = 0; fr < 2; ++fr) {
        Frame frame{{128, 10, 0}, {0.5f, 0.25f, 2.0f + fr}, {}};
        for (int k = 0; k < 6; ++k)
            frame.vertices.push_back({static_cast<uint8_t>(k * 40 + fr),
                                      static_cast<uint8_t>(255 - k * 7), static_cast<uint8_t>(k),
                                      static_cast<uint8_t>(k * 27 + fr),
                                      static_cast<uint8_t>(k % 3)});
        f.frames.push_back(frame);
    }
    return f;
}

}  // namespace qmdtest
