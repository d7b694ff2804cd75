#include "support/frame_shots.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "gfx/decoded_image.h"
#include "gfx/png_io.h"

namespace testsupport {

namespace fs = std::filesystem;

bool HaveDisplay() {
    const char* d = std::getenv("DISPLAY");
    return d && *d;
}

Rgb Picture::At(int x, int y) const {
    if (!Inside(x, y)) return {};
    const uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
    return {p[0], p[1], p[2]};
}

int Picture::Alpha(int x, int y) const {
    return Inside(x, y) ? rgba[(static_cast<size_t>(y) * width + x) * 4 + 3] : 0;
}

int Picture::Grey(int x, int y) const {
    const Rgb c = At(x, y);
    return (c.r + c.g + c.b) / 3;
}

Picture PictureLoad(const std::string& path) {
    const std::string png = ReadFile(path);
    DecodedImage img;
    Picture pic;
    if (png.empty() || !PngDecode(reinterpret_cast<const uint8_t*>(png.data()), png.size(),
                                  path.c_str(), kNoTransparentColour, kImageSideLimit, img))
        return pic;
    pic.width = img.width;
    pic.height = img.height;
    pic.rgba = std::move(img.pixels);
    return pic;
}

std::string ShotPath(const std::string& dir, long frame) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%06ld.png", frame);
    return dir + name;
}

Picture ShotLoad(const std::string& dir, long frame) {
    return PictureLoad(ShotPath(dir, frame));
}

std::string ProgramFolder(const std::string& name, const std::string& program,
                          const std::vector<std::pair<std::string, std::string>>& files) {
    const std::string dir = MakeSubDir(name);
    const std::string exe = dir + "/" + fs::path(program).filename().string();
    fs::copy_file(program, exe, fs::copy_options::overwrite_existing);
    for (const auto& [source, target] : files) {
        const fs::path to = fs::path(dir) / target;
        fs::create_directories(to.parent_path());
        fs::copy_file(source, to, fs::copy_options::overwrite_existing);
    }
    return dir;
}

RunResult RunRecorded(const std::string& program, const std::string& cwd,
                      const std::string& shotDir, const std::string& shots, long framesMax,
                      const std::vector<std::string>& extraEnv, int timeoutMs) {
    std::vector<std::string> env = {"CORVANE_FIXED_STEP=1", "SDL_AUDIODRIVER=dummy",
                                    "CORVANE_SHOTS=" + shots, "CORVANE_SHOT_DIR=" + shotDir};
    if (framesMax > 0) env.push_back("CORVANE_FRAMES_MAX=" + std::to_string(framesMax));
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    return RunProgram(program, {}, env, cwd, timeoutMs);
}

}  // namespace testsupport
