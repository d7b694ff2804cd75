// qmdconvert's OBJ reading (a table of small files, good and bad) and its mesh building,
// checked through gfx3d's own binary reader.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "gfx3d/qmd_binary.h"
#include "tools/qmdconvert/obj_parse.h"
#include "tools/qmdconvert/obj_to_qmd.h"

namespace {

using objparse::ObjModel;
using objparse::ObjParse;

struct ParseCase {
    const char* name;
    int triangles;     // -1: refused
    const char* want;  // refused: part of the message; else the first corner's indices
};

const char* kSquare = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n";

TEST(ObjParse, ReadsWhatExportersWriteAndRefusesTheRestSayingWhere) {
    const std::string sq = kSquare;
    const std::vector<std::pair<ParseCase, std::string>> cases = {
        {{"triangle", 1, "0 -1 -1"}, sq + "f 1 2 3\n"},
        {{"quad is a fan", 2, "0 0 0"},
         sq + "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 0 1\nf 1/1/1 2/2/1 3/3/1 4/4/1\n"},
        {{"v//vn, negative indices, comments, groups", 1, "1 -1 0"},
         "# a comment\no thing\ng part\ns off\nusemtl red\n" + sq +
             "vn 0 0 1  # trailing\nf -3//-1 -2//1 -1//1\r\n"},
        {{"vt with one or three numbers, v with w", 1, "0 1 -1"},
         "v 0 0 0 1\nv 1 0 0 1\nv 0 1 0\nvt 0.5\nvt 0.5 0.5 0\nf 1/2 2/1 3/1\n"},
        {{"index past the list", -1, "line 5: f: vertex 5 is past the 4 vertices"},
         sq + "f 1 2 5\n"},
        {{"index 0", -1, "vertex 0 is past"}, sq + "f 0 1 2\n"},
        {{"normal past the list", -1, "normal 2 is past the 1 normal defined"},
         sq + "vn 0 0 1\nf 1//1 2//2 3//1\n"},
        {{"forward reference", -1, "line 1: f: vertex 1 is past the 0 vertices"}, "f 1 2 3\n" + sq},
        {{"two corners", -1, "a face needs at least 3 corners, has 2"}, sq + "f 1 2\n"},
        {{"not a number", -1, "line 2: v: '1,5' is not a number"}, "v 0 0 0\nv 1,5 0 0\n"},
        {{"too few numbers", -1, "line 1: vn: needs 3 numbers, has 2"}, "vn 0 1\n"},
        {{"not an index", -1, "'x' is not a vertex index"}, sq + "f 1 2 x\n"},
        {{"too many slashes", -1, "'1/1/1/1' is not a corner"}, sq + "f 1/1/1/1 2 3\n"},
        {{"unknown statement", -1, "line 1: curv: 'curv' is not an OBJ statement"},
         "curv 0 1 1 2\n"},
        {{"no faces", -1, "no faces"}, sq},
        {{"empty", -1, "no faces"}, ""},
    };
    for (const auto& [c, text] : cases) {
        ObjModel m;
        std::string error;
        const bool ok = ObjParse(text, m, error);
        if (c.triangles < 0) {
            EXPECT_FALSE(ok) << c.name;
            EXPECT_NE(error.find(c.want), std::string::npos) << c.name << ": " << error;
            EXPECT_TRUE(m.triangles.empty() && m.positions.empty()) << c.name;
            continue;
        }
        ASSERT_TRUE(ok) << c.name << ": " << error;
        ASSERT_EQ(static_cast<int>(m.triangles.size()), c.triangles) << c.name;
        const objparse::Corner& k = m.triangles[0][0];
        EXPECT_EQ(std::to_string(k.position) + " " + std::to_string(k.texCoord) + " " +
                      std::to_string(k.normal),
                  c.want)
            << c.name;
    }
}

ObjModel Parsed(const std::string& text) {
    ObjModel m;
    std::string error;
    EXPECT_TRUE(ObjParse(text, m, error)) << error;
    return m;
}

// Two frames of a square (the second twice as large), turned into a mesh and written: what
// gfx3d reads back has both frames, positions within a quantisation step, the OBJ's normals
// where given and face normals elsewhere, v as the picture's up and the one colour.
TEST(ObjToQmd, FramesWrittenByGfx3dReadBackAsTheObjSaid) {
    const std::string faces =
        "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 1 0\n"
        "f 1/1/1 2/2/1 3/3/1\nf 1/1 3/3 4/4\n";
    const std::vector<ObjModel> frames = {Parsed(std::string(kSquare) + faces),
                                          Parsed("v 0 0 0\nv 2 0 0\nv 2 2 0\nv 0 2 0\n" + faces)};
    const uint8_t rgb[3] = {200, 100, 50};
    QmdMesh built, read;
    std::string error;
    ASSERT_TRUE(objparse::ObjToQmd(frames, rgb, built, error)) << error;
    ASSERT_EQ(QmdBinaryRead(QmdBinaryWrite(built), read), QmdReadResult::Ok);
    ASSERT_EQ(read.frames.size(), 2u);
    ASSERT_EQ(read.vertexCount, 6);
    const float corners[6][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 0}, {1, 1}, {0, 1}};
    for (size_t f = 0; f < 2; ++f)
        for (int k = 0; k < 6; ++k) {
            const float* p = &read.frames[f].positions[3 * k];
            const float* n = &read.frames[f].normals[3 * k];
            const float* c = &read.frames[f].colours[3 * k];
            const float size = f == 0 ? 1.0f : 2.0f;
            EXPECT_NEAR(p[0], corners[k][0] * size, size / 255) << f << " " << k;
            EXPECT_NEAR(p[1], corners[k][1] * size, size / 255) << f << " " << k;
            EXPECT_NEAR(p[2], 0, 1e-6) << f << " " << k;
            // The first triangle names normal (0, 1, 0); the second none: its face's (0, 0, 1).
            EXPECT_NEAR(n[1], k < 3 ? 1 : 0, 1e-5) << f << " " << k;
            EXPECT_NEAR(n[2], k < 3 ? 0 : 1, 1e-5) << f << " " << k;
            EXPECT_FLOAT_EQ(c[0], 200 / 255.0f);
            EXPECT_FLOAT_EQ(c[1], 100 / 255.0f);
            EXPECT_FLOAT_EQ(c[2], 50 / 255.0f);
            // Stored t is 1 - v; drawing's -t repeats as v.
            EXPECT_FLOAT_EQ(read.storedTexCoords[2 * k], corners[k][0]) << k;
            EXPECT_FLOAT_EQ(read.storedTexCoords[2 * k + 1], 1 - corners[k][1]) << k;
            EXPECT_FLOAT_EQ(read.texCoords[2 * k + 1] + 1, corners[k][1]) << k;
        }
}

TEST(ObjToQmd, RefusesFramesOfOtherTriangleCounts) {
    const uint8_t rgb[3] = {255, 255, 255};
    const std::vector<ObjModel> frames = {Parsed(std::string(kSquare) + "f 1 2 3 4\n"),
                                          Parsed(std::string(kSquare) + "f 1 2 3\n")};
    QmdMesh mesh;
    std::string error;
    EXPECT_FALSE(objparse::ObjToQmd(frames, rgb, mesh, error));
    EXPECT_NE(error.find("frame 2 has 1 triangles, frame 1 has 2"), std::string::npos) << error;
}

}  // namespace
