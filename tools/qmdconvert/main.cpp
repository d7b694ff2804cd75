// qmdconvert: Wavefront OBJ files to one binary QMD object, each file one animation frame.
#include <cstdio>
#include <string>
#include <vector>

#include "gfx3d/qmd_binary.h"
#include "platform/files.h"
#include "tools/qmdconvert/obj_parse.h"
#include "tools/qmdconvert/obj_to_qmd.h"

namespace {

constexpr int kOk = 0;
constexpr int kUsage = 1;
constexpr int kFailed = 2;
constexpr size_t kObjBytesMax = size_t{1} << 30;

const char* kUsageText =
    "usage: qmdconvert [-c R,G,B] -o <object.qmd> <frame.obj>...\n"
    "  Converts Wavefront OBJ geometry (v, vt, vn, f) into a binary QMD object for\n"
    "  ObjectLoad. Several OBJ files become the frames of one animated object, in the\n"
    "  order given; they must have the same number of triangles, and the first one's\n"
    "  texture coordinates are shared by all frames.\n"
    "  -c R,G,B   the object's colour, each 0..255 (default 255,255,255: white, which\n"
    "             shows a 3D texture as it is)\n"
    "exit codes: 0 done, 1 usage error, 2 input/output or conversion error\n";

int Usage(const std::string& why) {
    std::fprintf(stderr, "qmdconvert: %s\n", why.c_str());
    std::fputs(kUsageText, stderr);
    return kUsage;
}

int Failed(const std::string& error) {
    std::fprintf(stderr, "qmdconvert: %s\n", error.c_str());
    return kFailed;
}

// "R,G,B", each a whole number 0..255.
bool ColourOf(const std::string& text, uint8_t rgb[3]) {
    int got = 0;
    size_t at = 0;
    for (; got < 3; ++got) {
        size_t end = at;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9' && end - at < 4) ++end;
        if (end == at) return false;
        const int v = std::stoi(text.substr(at, end - at));
        if (v > 255) return false;
        rgb[got] = static_cast<uint8_t>(v);
        at = end;
        if (got < 2) {
            if (at >= text.size() || text[at] != ',') return false;
            ++at;
        }
    }
    return at == text.size();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> inputs;
    std::string out;
    uint8_t rgb[3] = {255, 255, 255};
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "-h" || a == "--help") {
            std::fputs(kUsageText, stdout);
            return kOk;
        } else if (a == "-o" || a == "-c") {
            if (i + 1 >= argc) return Usage(a + " needs a value");
            const std::string v = argv[++i];
            if (a == "-c" && !ColourOf(v, rgb))
                return Usage("-c " + v + ": the colour is R,G,B, each 0..255");
            if (a == "-o") {
                if (!out.empty()) return Usage("-o given twice");
                out = v;
            }
        } else if (a.size() > 1 && a[0] == '-') {
            return Usage("unknown option " + a);
        } else {
            inputs.push_back(a);
        }
    }
    if (out.empty()) return Usage("needs -o <object.qmd>");
    if (inputs.empty()) return Usage("needs at least one OBJ file");
    std::vector<objparse::ObjModel> frames(inputs.size());
    for (size_t i = 0; i < inputs.size(); ++i) {
        std::string text, error;
        if (!platform::FileReadWhole(inputs[i], text, kObjBytesMax))
            return Failed(inputs[i] + ": cannot be read");
        if (!objparse::ObjParse(text, frames[i], error)) return Failed(inputs[i] + ": " + error);
    }
    QmdMesh mesh;
    std::string error;
    if (!objparse::ObjToQmd(frames, rgb, mesh, error)) return Failed(error);
    if (!platform::FileWriteWhole(out, QmdBinaryWrite(mesh)))
        return Failed(out + ": cannot be written");
    std::printf("%s: %zu frame%s of %d triangles\n", out.c_str(), mesh.frames.size(),
                mesh.frames.size() == 1 ? "" : "s", mesh.vertexCount / 3);
    return kOk;
}
