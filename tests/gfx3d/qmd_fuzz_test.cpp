// Bounded random-input runs of both QMD readers and the scene reader: damaged and random
// files must fail cleanly (an empty mesh) or read into a mesh whose arrays agree.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "gfx3d/qmd_binary.h"
#include "gfx3d/qmd_text.h"
#include "gfx3d/scene_file.h"
#include "qmd_builders.h"

namespace {

void ExpectConsistent(const QmdMesh& m, int round) {
    const size_t n = static_cast<size_t>(m.vertexCount);
    ASSERT_EQ(m.texCoords.size(), 2 * n) << round;
    for (const QmdFrame& f : m.frames) {
        ASSERT_EQ(f.positions.size(), 3 * n) << round;
        ASSERT_EQ(f.normals.size(), 3 * n) << round;
        ASSERT_EQ(f.colours.size(), 3 * n) << round;
        for (float c : f.colours) ASSERT_TRUE(c >= 0 && c <= 1) << round;
    }
}

std::string Mutated(std::mt19937& rng, std::string s) {
    std::uniform_int_distribution<int> op(0, 3), byte(0, 255);
    const int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits && !s.empty(); ++e) {
        const size_t at = rng() % s.size();
        switch (op(rng)) {
            case 0:
                s[at] = static_cast<char>(byte(rng));
                break;
            case 1:
                s.resize(at);
                break;
            case 2:
                s.insert(at, 1 + rng() % 8, static_cast<char>(byte(rng)));
                break;
            default:
                s[at] = static_cast<char>(s[at] ^ (1 << (rng() % 8)));
                break;
        }
    }
    return s;
}

}  // namespace

TEST(QmdFuzz, DamagedBinaryFilesFailCleanlyOrReadBackAsWritten) {
    std::mt19937 rng(20261209);
    const std::string good = qmdtest::Bytes(qmdtest::Sample());
    int read = 0;
    for (int round = 0; round < 20000; ++round) {
        const std::string bytes = Mutated(rng, good);
        QmdMesh m;
        const QmdReadResult r = QmdBinaryRead(bytes, m);
        if (r != QmdReadResult::Ok) {
            ASSERT_TRUE(m.frames.empty() && m.palette.empty()) << round;
            continue;
        }
        ++read;
        ExpectConsistent(m, round);
        // What read also writes back as the bytes it came from (up to trailing bytes).
        const std::string written = QmdBinaryWrite(m);
        ASSERT_EQ(written, bytes.substr(0, written.size())) << round;
    }
    EXPECT_GT(read, 1000) << "mutations that keep the file readable (in its data bytes)";
}

TEST(QmdFuzz, RandomTextObjectsFailCleanlyOrAgree) {
    std::mt19937 rng(4242);
    static const char* words[] = {"QMDA", "1.0", "1.1", "0",  "1",   "2",   "3", "4", "-1",
                                  "0.5",  "255", "#",   "\n", "1e9", "nan", "x", "7", "12"};
    int read = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string text = round % 3 == 0 ? "QMDA 1.1 " : "QMDA 1.0 ";
        const int n = static_cast<int>(rng() % 60);
        for (int i = 0; i < n; ++i) {
            text += words[rng() % (sizeof words / sizeof *words)];
            text += ' ';
        }
        QmdMesh m;
        if (!QmdTextRead(text, m)) {
            ASSERT_TRUE(m.frames.empty() && m.texCoords.empty()) << round;
            continue;
        }
        ++read;
        ExpectConsistent(m, round);
    }
    EXPECT_GT(read, 100);
    // A well-formed object read after random damage.
    const std::string good =
        "QMDA 1.1 2 0 0 1 1 2 10 20 30 4 0 0 1 1 2 0 3 1 40 50 60 3 0 0 1 0 2 1 "
        "2 4 0 0 0 0 0 1 1 0 0 0 0 1 1 1 0 0 0 1 0 1 0 0 0 1 "
        "4 0 0 1 0 0 1 1 0 1 0 0 1 1 1 1 0 0 1 0 1 1 0 0 1";
    for (int round = 0; round < 20000; ++round) {
        QmdMesh m;
        if (QmdTextRead(Mutated(rng, good), m)) ExpectConsistent(m, round);
    }
}

TEST(QmdFuzz, RandomSceneFilesFailCleanlyOrHoldWhatTheyPromise) {
    std::mt19937 rng(99);
    static const char* lines[] = {
        "count 2", "count 1", "textures 1 10", "textures 2 65500", "objects", "a.qmd",  "b.qmd",
        "ta 0 -1", "tb -1 1", "ta 0",          "# note",           "",        "ta 5 5", "count -3"};
    for (int round = 0; round < 20000; ++round) {
        std::string text = ";QMW\n";
        const int n = static_cast<int>(rng() % 12);
        for (int i = 0; i < n; ++i) text += std::string(lines[rng() % 14]) + "\n";
        if (round % 2) text = Mutated(rng, text);
        SceneFile s;
        if (!SceneFileRead(text, 1024, s)) continue;
        ASSERT_GE(s.count, 1);
        ASSERT_EQ(s.objects.size(), static_cast<size_t>(s.count)) << text;
        ASSERT_EQ(s.ta.size(), s.objects.size());
        ASSERT_EQ(s.tb.size(), s.objects.size());
        for (int t : s.ta) ASSERT_LT(t, static_cast<int>(s.textures.size())) << text;
        for (int t : s.tb) ASSERT_LT(t, static_cast<int>(s.textures.size())) << text;
        ASSERT_LE(s.firstSprite + static_cast<int>(s.textures.size()), 65503);
    }
}
