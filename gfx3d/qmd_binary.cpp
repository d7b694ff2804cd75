#include "gfx3d/qmd_binary.h"

#include <cstring>

#include "core/bytes.h"

namespace {

// A bounds-checked little-endian cursor: every read says whether the bytes were there.
class Reader {
public:
    explicit Reader(const std::string& b) : bytes_(b) {}
    size_t Left() const { return bytes_.size() - at_; }
    bool Raw(void* out, size_t n) {
        if (n > Left()) return false;
        std::memcpy(out, bytes_.data() + at_, n);
        at_ += n;
        return true;
    }
    bool U32(uint32_t& v) {
        uint8_t b[4];
        if (!Raw(b, 4)) return false;
        v = BytesLe32(b);
        return true;
    }
    bool I32(int32_t& v) {
        uint32_t u = 0;
        if (!U32(u)) return false;
        v = static_cast<int32_t>(u);
        return true;
    }
    bool F32(float& v) {
        uint32_t u = 0;
        if (!U32(u)) return false;
        std::memcpy(&v, &u, 4);
        return true;
    }
    bool F64(double& v) {
        uint32_t lo = 0, hi = 0;
        if (!U32(lo) || !U32(hi)) return false;
        const uint64_t u = lo | (static_cast<uint64_t>(hi) << 32);
        std::memcpy(&v, &u, 8);
        return true;
    }

private:
    const std::string& bytes_;
    size_t at_ = 0;
};

void PutU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 255);
}
void PutF32(std::string& out, float f) {
    uint32_t u = 0;
    std::memcpy(&u, &f, 4);
    PutU32(out, u);
}
void PutF64(std::string& out, double d) {
    uint64_t u = 0;
    std::memcpy(&u, &d, 8);
    PutU32(out, static_cast<uint32_t>(u));
    PutU32(out, static_cast<uint32_t>(u >> 32));
}

constexpr size_t kFrameHeaderBytes = 4 + 24;

QmdReadResult ReadBody(Reader& in, QmdMesh& mesh) {
    double version = 0;
    int32_t frames = 0, paletteSize = 0, texCount = 0;
    if (!in.F64(version)) return QmdReadResult::ReadError;
    if (version != kQmdVersion) return QmdReadResult::WrongVersion;
    if (!in.I32(frames) || !in.I32(paletteSize) || !in.I32(texCount))
        return QmdReadResult::ReadError;
    // Counts are bounded by what the file can still hold, so a damaged count never allocates.
    if (frames < 0 || paletteSize < 0 || texCount < 0) return QmdReadResult::ReadError;
    const size_t f = static_cast<size_t>(frames), p = static_cast<size_t>(paletteSize),
                 t = static_cast<size_t>(texCount);
    if (p > in.Left() / 4) return QmdReadResult::ReadError;
    mesh.palette.resize(p);
    for (uint32_t& c : mesh.palette)
        if (!in.U32(c)) return QmdReadResult::ReadError;
    if (t > in.Left() / 8) return QmdReadResult::ReadError;
    mesh.storedTexCoords.resize(2 * t);
    for (float& c : mesh.storedTexCoords)
        if (!in.F32(c)) return QmdReadResult::ReadError;
    if (f > in.Left() / (kFrameHeaderBytes + 5 * t)) return QmdReadResult::ReadError;
    mesh.frames.resize(f);
    for (QmdFrame& fr : mesh.frames) {
        int32_t v = 0;
        if (!in.I32(v)) return QmdReadResult::ReadError;
        // One texture coordinate pair per vertex: a frame of another size has none to share.
        if (v != texCount) return QmdReadResult::ReadError;
        for (float& o : fr.offset)
            if (!in.F32(o)) return QmdReadResult::ReadError;
        for (float& s : fr.scale)
            if (!in.F32(s)) return QmdReadResult::ReadError;
        if (t > in.Left() / 5) return QmdReadResult::ReadError;
        fr.stored.resize(t);
        for (QmdStoredVertex& sv : fr.stored) {
            uint8_t b[5];
            if (!in.Raw(b, 5)) return QmdReadResult::ReadError;
            sv.x = b[0], sv.y = b[1], sv.z = b[2], sv.normal = b[3], sv.palette = b[4];
        }
    }
    mesh.vertexCount = texCount;
    mesh.hasStored = true;
    QmdExpandStored(mesh);
    return QmdReadResult::Ok;
}

}  // namespace

QmdReadResult QmdBinaryRead(const std::string& bytes, QmdMesh& mesh) {
    mesh = QmdMesh{};
    Reader in(bytes);
    int32_t magic = 0;
    if (!in.I32(magic) || magic != kQmdMagic) return QmdReadResult::NotBinary;
    const QmdReadResult r = ReadBody(in, mesh);
    if (r != QmdReadResult::Ok) mesh = QmdMesh{};
    return r;
}

std::string QmdBinaryWrite(const QmdMesh& mesh) {
    if (!mesh.hasStored) return {};
    const auto t = static_cast<uint32_t>(mesh.vertexCount);
    std::string out;
    out.reserve(32 + mesh.palette.size() * 4 + t * 8 + mesh.frames.size() * (28 + 5 * t));
    PutU32(out, static_cast<uint32_t>(kQmdMagic));
    PutF64(out, kQmdVersion);
    PutU32(out, static_cast<uint32_t>(mesh.frames.size()));
    PutU32(out, static_cast<uint32_t>(mesh.palette.size()));
    PutU32(out, t);
    for (uint32_t c : mesh.palette) PutU32(out, c);
    for (uint32_t k = 0; k < 2 * t; ++k)
        PutF32(out, k < mesh.storedTexCoords.size() ? mesh.storedTexCoords[k] : 0.0f);
    for (const QmdFrame& f : mesh.frames) {
        PutU32(out, t);
        for (float o : f.offset) PutF32(out, o);
        for (float s : f.scale) PutF32(out, s);
        for (uint32_t k = 0; k < t; ++k) {
            const QmdStoredVertex v = k < f.stored.size() ? f.stored[k] : QmdStoredVertex{};
            const char b[5] = {static_cast<char>(v.x), static_cast<char>(v.y),
                               static_cast<char>(v.z), static_cast<char>(v.normal),
                               static_cast<char>(v.palette)};
            out.append(b, 5);
        }
    }
    return out;
}
