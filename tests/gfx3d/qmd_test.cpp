// QMD files in both forms, scene files, and ObjectLoad / ObjectSave on real files: every file
// is built here byte by byte or line by line.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cmath>
#include <string>
#include <vector>

#include "corvane.h"
#include "gfx3d/object_file.h"
#include "gfx3d/qmd_binary.h"
#include "gfx3d/qmd_directions.h"
#include "gfx3d/qmd_text.h"
#include "gfx3d/scene3d.h"
#include "gfx3d/scene_file.h"
#include "qmd_builders.h"
#include "runtime/debug_output.h"
#include "support/test_support.h"

namespace {

std::vector<std::string> messages;
void Collect(const std::string& text) {
    messages.push_back(text);
}
bool Attached() {
    return true;
}

QmdMesh Read(const std::string& bytes) {
    QmdMesh m;
    EXPECT_EQ(QmdBinaryRead(bytes, m), QmdReadResult::Ok);
    return m;
}

}  // namespace

TEST(QmdBinary, DirectionTableIsTheUnitTableStartingWhereItShould) {
    EXPECT_FLOAT_EQ(kQmdDirections[0][0], -0.525731f);
    EXPECT_FLOAT_EQ(kQmdDirections[0][2], 0.850651f);
    EXPECT_FLOAT_EQ(kQmdDirections[161][0], -0.688191f);
    for (int i = 0; i < kQmdDirectionCount; ++i) {
        const float* d = kQmdDirections[i];
        EXPECT_NEAR(d[0] * d[0] + d[1] * d[1] + d[2] * d[2], 1.0, 1e-5) << i;
        for (int j = 0; j < i; ++j)
            EXPECT_FALSE(d[0] == kQmdDirections[j][0] && d[1] == kQmdDirections[j][1] &&
                         d[2] == kQmdDirections[j][2])
                << i << " repeats " << j;
    }
}

TEST(QmdBinary, SaveThenLoadReproducesEveryVertexExactly) {
    const std::string bytes = qmdtest::Bytes(qmdtest::Sample());
    const QmdMesh first = Read(bytes);
    ASSERT_EQ(first.frames.size(), 2u);
    ASSERT_EQ(first.vertexCount, 6);
    EXPECT_EQ(QmdBinaryWrite(first), bytes);
    const QmdMesh again = Read(QmdBinaryWrite(first));
    EXPECT_EQ(again.texCoords, first.texCoords);
    for (size_t f = 0; f < 2; ++f) {
        EXPECT_EQ(again.frames[f].positions, first.frames[f].positions);
        EXPECT_EQ(again.frames[f].normals, first.frames[f].normals);
        EXPECT_EQ(again.frames[f].colours, first.frames[f].colours);
    }
}

TEST(QmdBinary, ExpansionRules) {
    qmdtest::File f;
    f.palette = {0xffffffffu, 0x00804020u, 0xfffffffcu, 0xfffffffbu};
    f.texCoords = {0.25f, 0.75f, 0.5f, -0.5f, 1, 1, 0, 0};
    // x byte equal to the offset, byte 0 at scale 0.5 offset 128, a direction past the table,
    // a palette index past the palette.
    f.frames.push_back(
        {{7, 128, 0},
         {3, 0.5f, 1},
         {{7, 0, 9, 5, 0}, {8, 128, 0, 200, 1}, {0, 255, 0, 161, 2}, {0, 0, 0, 0, 9}}});
    const QmdMesh m = Read(qmdtest::Bytes(f));
    const QmdFrame& fr = m.frames[0];
    EXPECT_EQ(fr.positions[0], 0.0f) << "a byte equal to the offset lands at 0";
    EXPECT_EQ(fr.positions[1], -64.0f) << "(0 - 128) * 0.5";
    EXPECT_EQ(fr.positions[3], 3.0f);
    EXPECT_EQ(fr.positions[7], 63.5f);
    struct {
        int vertex;
        float r, g, b;
    } colours[] = {
        {0, 1, 1, 1}, {1, 0x20 / 255.0f, 0x40 / 255.0f, 0x80 / 255.0f}, {2, 1, 1, 1}, {3, 1, 1, 1}};
    for (const auto& c : colours) {
        EXPECT_FLOAT_EQ(fr.colours[3 * c.vertex], c.r) << c.vertex;
        EXPECT_FLOAT_EQ(fr.colours[3 * c.vertex + 1], c.g) << c.vertex;
        EXPECT_FLOAT_EQ(fr.colours[3 * c.vertex + 2], c.b) << c.vertex;
    }
    // 0xFFFFFFFB is below the white range: its low bytes.
    QmdMesh below = m;
    below.palette[2] = 0xfffffffbu;
    QmdExpandStored(below);
    EXPECT_FLOAT_EQ(below.frames[0].colours[7], 1.0f);
    EXPECT_FLOAT_EQ(below.frames[0].colours[6], 0xfb / 255.0f);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(fr.normals[3 + i], kQmdDirections[0][i]) << "index 200 gives entry 0";
        EXPECT_EQ(fr.normals[6 + i], kQmdDirections[161][i]);
    }
    EXPECT_EQ(m.texCoords[0], 0.25f);
    EXPECT_EQ(m.texCoords[1], -0.75f) << "t is negated";
    EXPECT_EQ(m.texCoords[3], 0.5f);
}

TEST(QmdBinary, WrongVersionsAreRefusedWithTheirMessage) {
    DebugChannelSet(Attached, Collect);
    for (double v : {1.0, 1.03, 1.0199999, 0.0}) {
        qmdtest::File f = qmdtest::Sample();
        f.version = v;
        QmdMesh m;
        messages.clear();
        EXPECT_FALSE(ObjectBytesRead(qmdtest::Bytes(f), "old.qmd", m)) << v;
        EXPECT_TRUE(m.Empty());
        EXPECT_EQ(messages, (std::vector<std::string>{"TXWrong .qmd version.", "TX# read error",
                                                      "TXold.qmd"}))
            << v;
    }
    DebugChannelSet(nullptr, nullptr);
}

TEST(QmdBinary, DamagedFilesFailBeforeAllocating) {
    struct Case {
        const char* what;
        void (*damage)(qmdtest::File&);
    } cases[] = {
        {"palette count past the file", [](qmdtest::File& f) { f.paletteCount = 0x7fffffff; }},
        {"negative frame count", [](qmdtest::File& f) { f.frameCount = -5; }},
        {"frame count past the file", [](qmdtest::File& f) { f.frameCount = 1 << 30; }},
        {"texture count past the file", [](qmdtest::File& f) { f.texCount = 1 << 28; }},
        {"a frame's V differs from T", [](qmdtest::File& f) { f.frames[1].count = 5; }},
        {"a frame's V negative", [](qmdtest::File& f) { f.frames[0].count = -7; }},
    };
    for (const Case& c : cases) {
        qmdtest::File f = qmdtest::Sample();
        c.damage(f);
        QmdMesh m;
        EXPECT_EQ(QmdBinaryRead(qmdtest::Bytes(f), m), QmdReadResult::ReadError) << c.what;
        EXPECT_TRUE(m.Empty()) << c.what;
    }
    // Every shorter prefix of a good file is a read error (or, under 4 bytes, not binary).
    const std::string good = qmdtest::Bytes(qmdtest::Sample());
    for (size_t n = 0; n < good.size(); ++n) {
        QmdMesh m;
        EXPECT_EQ(QmdBinaryRead(good.substr(0, n), m),
                  n < 4 ? QmdReadResult::NotBinary : QmdReadResult::ReadError)
            << n;
    }
}

TEST(QmdText, VersionDecidesTheNumbersPerVertex) {
    // The same numbers read as 1.0 make six vertices of x y z, as 1.1 three with normals.
    const std::string body =
        " 1 0 0  1  255 0 0 3  0 0 1 0 2 0  1 6\n"
        " 0 0 0  0 0 1  1 0 0  0 0 1  0 1 0  0 0 1\n";
    QmdMesh old, withNormals, later;
    ASSERT_TRUE(QmdTextRead("QMDA 1.0" + body, old));
    EXPECT_FALSE(QmdTextRead("QMDA 1.1" + body, withNormals)) << "six vertices of six numbers";
    EXPECT_FALSE(old.normalsRead);
    EXPECT_EQ(old.frames[0].positions, (std::vector<float>{0, 0, 0, 0, 0, 1, 1, 0, 0}));
    const std::string three =
        "QMDA 1.1 1 0 0  1  255 0 0 3  0 0 1 0 2 0  1 3\n"
        " 0 0 0  0 0 1  1 0 0  0 0 1  0 1 0  0 0 1\n";
    ASSERT_TRUE(QmdTextRead(three, withNormals));
    EXPECT_TRUE(withNormals.normalsRead);
    EXPECT_EQ(withNormals.frames[0].positions, (std::vector<float>{0, 0, 0, 1, 0, 0, 0, 1, 0}));
    EXPECT_EQ(withNormals.frames[0].normals, (std::vector<float>{0, 0, 1, 0, 0, 1, 0, 0, 1}));
    EXPECT_FALSE(QmdTextRead("QMDA 1.2" + body, later));
    EXPECT_FALSE(QmdTextRead("QMDB 1.0" + body, later));
}

TEST(QmdText, PolygonsSplitAsFansSmallOnesSkippedBadIndicesFail) {
    // Four vertices, texture pairs 0..3; a quad, a two-corner polygon, a triangle.
    auto file = [](const std::string& polys, int count) {
        return "QMDA 1.0 # a comment 99 99\n4  0 0  1 0  1 1  0 1\n" + std::to_string(count) +
               "\n" + polys + "\n1 4  0 0 0  1 0 0  1 1 0  0 1 0\n";
    };
    QmdMesh m;
    ASSERT_TRUE(QmdTextRead(
        file("10 20 30 4  0 0 1 1 2 2 3 3\n 0 0 0 2 0 0 1 1\n 255 255 255 3 3 3 2 2 1 1", 3), m));
    ASSERT_EQ(m.vertexCount, 9) << "quad: two triangles; two corners: none; triangle: one";
    // The fan: (0 1 2) (0 2 3), then (3 2 1).
    const std::vector<float> x = {0, 1, 1, 0, 1, 0, 0, 1, 1};
    for (int k = 0; k < 9; ++k) EXPECT_EQ(m.frames[0].positions[3 * k], x[k]) << k;
    EXPECT_EQ(m.texCoords[2 * 4], 1.0f);  // vertex 4 is the quad's corner 2: pair (1, 1)
    EXPECT_FLOAT_EQ(m.frames[0].colours[0], 10 / 255.0f);
    EXPECT_EQ(m.frames[0].normals[2], 1.0f) << "face normals for a file without normals";
    struct {
        const char* what;
        std::string text;
    } bad[] = {
        {"vertex index = N", file("1 1 1 3 0 0 1 1 4 2", 1)},
        {"negative vertex index", file("1 1 1 3 0 0 1 1 -1 2", 1)},
        {"texture index = T", file("1 1 1 3 0 0 1 4 2 2", 1)},
        {"a corner short", file("1 1 1 3 0 0 1 1 2", 1)},
        {"polygon count past the file", file("", 100000)},
    };
    for (const auto& b : bad) {
        EXPECT_FALSE(QmdTextRead(b.text, m)) << b.what;
        EXPECT_TRUE(m.Empty()) << b.what;
    }
}

TEST(QmdText, WhatIsNotNumberTextIsRefusedWithTheReason) {
    struct {
        const char* text;
        const char* why;  // empty: it reads
    } cases[] = {
        {"QMDA junk junk", "\"junk\" is not a number (line 1)"},
        {"QMDA 1.0 x 0 0", "\"x\" is not a number (line 1)"},
        {"QMDA 1.0\n0 0\n1 nan", "\"nan\" is not a number (line 3)"},
        {"QMDA 1.0 0x1 0 0", "\"0x1\" is not a number (line 1)"},
        {"QMDA 1.0 1 0.5 0.5q 0 0", "\"0.5q\" is not a number (line 1)"},
        {"QMDA 1.0 1 0.5 1e 0 0", "\"1e\" is not a number (line 1)"},
        {"QMDA", "the text ends early (line 1)"},
        {"QMDA 1.0 0 0 # no frame count", "the text ends early (line 1)"},
        {"QMDA 1.0 -1 0 0", "texture coordinate count -1 is impossible here (line 1)"},
        {"QMDA 1.0 1 -.5 +2.5e-1 0 1 3 0 0 0 1 0 0 0 1 -2E+1", ""},
        {"QMDA 1.0 0 0 0", ""},
    };
    for (const auto& c : cases) {
        QmdMesh m;
        std::string why;
        EXPECT_EQ(QmdTextRead(c.text, m, &why), *c.why == 0) << c.text;
        EXPECT_EQ(why, c.why) << c.text;
        if (*c.why) {
            EXPECT_TRUE(m.frames.empty()) << c.text;
        }
    }
}

TEST(SceneFileReader, SectionsAndTheirFaults) {
    const std::string good =
        ";QMW\n# two boxes\ncount 2\ntextures 2 100\nwood grain.png\nstone.png\nobjects\n"
        "a.qmd\nb.qmd\nta 1 -1\ntb -1 0\n";
    SceneFile s;
    ASSERT_TRUE(SceneFileRead(good, 1024, s));
    EXPECT_EQ(s.count, 2);
    EXPECT_EQ(s.firstSprite, 100);
    EXPECT_EQ(s.textures, (std::vector<std::string>{"wood grain.png", "stone.png"}));
    EXPECT_EQ(s.objects, (std::vector<std::string>{"a.qmd", "b.qmd"}));
    EXPECT_EQ(s.ta, (std::vector<int>{1, -1}));
    EXPECT_EQ(s.tb, (std::vector<int>{-1, 0}));
    ASSERT_TRUE(SceneFileRead(";QMW\ncount 1\nobjects\nx.qmd\n", 1024, s));
    EXPECT_EQ(s.ta, (std::vector<int>{-1}));
    const char* bad[] = {
        "QMW\ncount 1\nobjects\nx.qmd\n",                        // no magic
        ";QMW\nobjects\nx.qmd\ncount 1\n",                       // count not first
        ";QMW\ncount 0\nobjects\n",                              // no objects
        ";QMW\ncount 3\nobjects\nx.qmd\n",                       // names short
        ";QMW\ncount 2x\nobjects\na\nb\n",                       // not a whole number
        ";QMW\ncount 5000\nobjects\na\n",                        // past the slots
        ";QMW\ncount 1\nobjects\nx.qmd\nta 0\n",                 // texture 0 of none
        ";QMW\ncount 1\nobjects\nx.qmd\nta 0 0\n",               // entries for two
        ";QMW\ncount 1\ntextures 1 65502\nt.png\nobjects\nx\n",  // pictures past the slots
        ";QMW\ncount 1\nobjects\nx.qmd\nlights 3\n",             // unknown section
    };
    for (const char* b : bad) EXPECT_FALSE(SceneFileRead(b, 1024, s)) << b;
}

class ObjectFiles : public ::testing::Test {
protected:
    void SetUp() override {
        Scene3DCreate(nullptr);
        dir = testsupport::MakeSubDir("objects");
    }
    std::string dir;
};

TEST_F(ObjectFiles, ObjectSaveThenObjectLoadAndTheSceneFile) {
    const std::string bytes = qmdtest::Bytes(qmdtest::Sample());
    ASSERT_TRUE(testsupport::WriteFile(dir + "/a.qmd", bytes));
    ASSERT_EQ(ObjectLoad((dir + "/a.qmd").c_str(), 3), 1);
    EXPECT_EQ(ObjectFrameCountGet(3), 2);
    ASSERT_EQ(ObjectSave((dir + "/b.qmd").c_str(), 3), 1);
    EXPECT_EQ(testsupport::ReadFile(dir + "/b.qmd"), bytes);
    // A text object saved in binary form comes back within its quantisation.
    ASSERT_TRUE(testsupport::WriteFile(dir + "/t.qmd",
                                       "QMDA 1.1 1 0.5 0.5 1 255 128 0 3 0 0 1 0 2 0 1 3 "
                                       "-1 0 0 0 0 1  1 0 0 0 0 1  0 2 0 0 0 1"));
    ASSERT_EQ(ObjectLoad((dir + "/t.qmd").c_str(), 4), 1);
    ASSERT_EQ(ObjectSave((dir + "/t.bin").c_str(), 4), 1);
    ASSERT_EQ(ObjectLoad((dir + "/t.bin").c_str(), 5), 1);
    const QmdMesh& text = ObjectSlot(4)->mesh;
    const QmdMesh& bin = ObjectSlot(5)->mesh;
    for (size_t i = 0; i < 9; ++i)
        EXPECT_NEAR(bin.frames[0].positions[i], text.frames[0].positions[i], 3.0 / 255) << i;
    EXPECT_NEAR(bin.frames[0].colours[1], 128 / 255.0, 1e-6);
    EXPECT_EQ(bin.frames[0].normals[2], 1.0f);
    EXPECT_EQ(bin.texCoords, text.texCoords);
    // A scene: both objects into slots 7 and 8, their textures remembered.
    ASSERT_TRUE(testsupport::WriteFile(dir + "/s.qmw",
                                       ";QMW\ncount 2\ntextures 1 40\nno.png\n"
                                       "objects\n" +
                                           dir + "/a.qmd\n" + dir + "/t.qmd\nta -1 0\n"));
    ASSERT_EQ(ObjectLoad((dir + "/s.qmw").c_str(), 7), 1);
    EXPECT_EQ(ObjectFrameCountGet(7), 2);
    EXPECT_EQ(ObjectFrameCountGet(8), 1);
    EXPECT_EQ(ObjectSlot(8)->ta, 40);
    // A scene naming a missing object loads nothing.
    ASSERT_TRUE(testsupport::WriteFile(
        dir + "/m.qmw", ";QMW\ncount 2\nobjects\n" + dir + "/a.qmd\n" + dir + "/none.qmd\n"));
    EXPECT_EQ(ObjectLoad((dir + "/m.qmw").c_str(), 10), 0);
    EXPECT_EQ(ObjectFrameCountGet(10), 0);
    // A damaged file empties the slot it was loaded into.
    ASSERT_TRUE(testsupport::WriteFile(dir + "/d.qmd", bytes.substr(0, bytes.size() - 1)));
    EXPECT_EQ(ObjectLoad((dir + "/d.qmd").c_str(), 3), 0);
    EXPECT_EQ(ObjectFrameCountGet(3), 0);
    EXPECT_EQ(ObjectLoad((dir + "/missing.qmd").c_str(), 3), 0);
    EXPECT_EQ(ObjectLoad((dir + "/a.qmd").c_str(), 1024), 0) << "slot past the table";
}

TEST_F(ObjectFiles, AFailedSaveReturns0AndLeavesTheOldFile) {
    ASSERT_TRUE(testsupport::WriteFile(dir + "/a.qmd", qmdtest::Bytes(qmdtest::Sample())));
    ASSERT_EQ(ObjectLoad((dir + "/a.qmd").c_str(), 3), 1);
    EXPECT_EQ(ObjectSave((dir + "/no such folder/b.qmd").c_str(), 3), 0);
    EXPECT_EQ(ObjectSave((dir + "/old.qmd").c_str(), 600), 0) << "an empty slot";
    // Writes past 100 bytes fail: the save breaks off in the middle of the object.
    ASSERT_TRUE(testsupport::WriteFile(dir + "/old.qmd", "old contents"));
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const double saved = ObjectSave((dir + "/old.qmd").c_str(), 3);
    setrlimit(RLIMIT_FSIZE, &before);
    signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(saved, 0);
    EXPECT_EQ(testsupport::ReadFile(dir + "/old.qmd"), "old contents");
}
