// qmdconvert end to end: an OBJ cube converted by the built tool, loaded by ObjectLoad in a
// program and drawn lit, checked by its pixels; and what the tool says about files it refuses.
#include <gtest/gtest.h>

#include <string>

#include "support/frame_shots.h"
#include "support/test_support.h"

namespace {

using testsupport::RunProgram;
using testsupport::WriteFile;

const std::string kTool = std::string(CORVANE_TEST_BIN_DIR) + "/qmdconvert";

// A cube of side 2 about the origin, faces counter-clockwise seen from outside, as a
// modeller exports it (quads, shared normals by index).
constexpr const char* kCubeObj = R"(# cube
o Cube
v -1 -1 -1
v  1 -1 -1
v  1  1 -1
v -1  1 -1
v -1 -1  1
v  1 -1  1
v  1  1  1
v -1  1  1
vn 0 0 1
vn 0 0 -1
vn 1 0 0
vn -1 0 0
vn 0 1 0
vn 0 -1 0
f 5//1 6//1 7//1 8//1
f 2//2 1//2 4//2 3//2
f 6//3 2//3 3//3 7//3
f 1//4 5//4 8//4 4//4
f 8//5 7//5 3//5 4//5
f 1//6 2//6 6//6 5//6
)";

TEST(QmdConvertE2E, AnObjCubeConvertedLoadsAndDrawsLitWithItsColour) {
    SKIP_WHEN_MISSING(!testsupport::HaveDisplay(), "needs a display");
    const std::string dir = testsupport::MakeSubDir("qmdconvert_cube");
    ASSERT_TRUE(WriteFile(dir + "/cube.obj", kCubeObj));
    auto r = RunProgram(kTool, {"-c", "200,100,50", "-o", dir + "/cube.qmd", dir + "/cube.obj"});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(r.output.find("1 frame of 12 triangles"), std::string::npos) << r.output;

    const std::string folder =
        testsupport::ProgramFolder("qmd_view", testsupport::ProgramPath("tools", "object_view"),
                                   {{dir + "/cube.qmd", "media/object.qmd"}});
    const std::string shots = testsupport::MakeSubDir("qmdconvert_shots");
    auto run = testsupport::RunRecorded(folder + "/tools_object_view", folder, shots, "10", 10);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const testsupport::Picture p = testsupport::ShotLoad(shots, 10);
    ASSERT_FALSE(p.Empty());
    // Turned 45 degrees, the +z and -x faces show left and right of the middle, each lit at
    // cos 45: 0.707 of the colour. Faces wound the wrong way would be culled, leaving the far
    // faces, which face away from the light (black).
    for (int x : {290, 350}) {
        const testsupport::Rgb c = p.At(x, 240);
        EXPECT_NEAR(c.r, 141, 8) << x;
        EXPECT_NEAR(c.g, 71, 8) << x;
        EXPECT_NEAR(c.b, 35, 8) << x;
    }
    for (auto [x, y] : {std::pair{100, 240}, {540, 240}, {320, 60}, {320, 420}}) {
        const testsupport::Rgb c = p.At(x, y);
        EXPECT_EQ(c.r + c.g + c.b, 0) << x << "," << y << " is outside the cube";
    }
}

struct Refusal {
    const char* name;
    std::string obj, obj2;          // written as in.obj and in2.obj; "": not written
    std::vector<std::string> args;  // "IN", "IN2" are those files' paths, "OUT" the output's
    int exitCode;
    const char* message;
};

TEST(QmdConvertE2E, RefusesBadInputWithTheReasonOnStderrAndWritesNothing) {
    const std::string tri = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
    const std::vector<Refusal> cases = {
        {"bad face",
         "v 0 0 0\nf 1 2 3\n",
         "",
         {"-o", "OUT", "IN"},
         2,
         "in.obj: line 2: f: vertex 2 is past the 1 vertex defined so far"},
        {"no such file", "", "", {"-o", "OUT", "IN"}, 2, "in.obj: cannot be read"},
        {"frames differ",
         tri,
         tri + "v 1 1 0\nf 2 4 3\n",
         {"-o", "OUT", "IN", "IN2"},
         2,
         "frame 2 has 2 triangles, frame 1 has 1"},
        {"no output", tri, "", {"IN"}, 1, "needs -o <object.qmd>"},
        {"bad colour",
         tri,
         "",
         {"-c", "300,0,0", "-o", "OUT", "IN"},
         1,
         "-c 300,0,0: the colour is R,G,B, each 0..255"},
        {"unknown option", tri, "", {"-x", "-o", "OUT", "IN"}, 1, "unknown option -x"},
    };
    for (const Refusal& c : cases) {
        const std::string dir = testsupport::MakeSubDir(std::string("refuse ") + c.name);
        if (!c.obj.empty()) {
            ASSERT_TRUE(WriteFile(dir + "/in.obj", c.obj));
        }
        if (!c.obj2.empty()) {
            ASSERT_TRUE(WriteFile(dir + "/in2.obj", c.obj2));
        }
        std::vector<std::string> args;
        for (const std::string& a : c.args)
            args.push_back(a == "IN"    ? dir + "/in.obj"
                           : a == "IN2" ? dir + "/in2.obj"
                           : a == "OUT" ? dir + "/out.qmd"
                                        : a);
        auto r = RunProgram(kTool, args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.name << ": " << r.output;
        EXPECT_EQ(r.output.rfind("qmdconvert: ", 0), 0u) << c.name << ": " << r.output;
        EXPECT_NE(r.output.find(c.message), std::string::npos) << c.name << ": " << r.output;
        EXPECT_FALSE(testsupport::FileExists(dir + "/out.qmd")) << c.name;
    }
}

}  // namespace
