// Bounded fuzzing of the INI reader and the line reader: random bytes, random line-shaped
// text and damaged INI files must parse without fault and keep their invariants.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "files/ini_data.h"
#include "files/line_reader.h"

namespace {

std::string RandomText(std::mt19937& rng, size_t maxLen) {
    // Bytes biased towards the ones the readers treat specially.
    static const char special[] = {'[', ']', '=', '\r', '\n', '\0', ' ', ';', 'a', 'B'};
    std::uniform_int_distribution<size_t> len(0, maxLen);
    std::uniform_int_distribution<int> pick(0, 3), byte(0, 255),
        sp(0, static_cast<int>(sizeof special) - 1);
    std::string s(len(rng), '\0');
    for (char& c : s) c = pick(rng) == 0 ? static_cast<char>(byte(rng)) : special[sp(rng)];
    return s;
}

}  // namespace

TEST(TextFuzz, IniTextParsesAndItsWrittenFormReadsBackTheSame) {
    std::mt19937 rng(20261208);
    for (int round = 0; round < 3000; ++round) {
        const std::string text = RandomText(rng, round % 50 == 0 ? 5000 : 300);
        IniData once;
        once.sections = IniParse(text);
        const std::string written = IniSerialize(once);
        IniData twice;
        twice.sections = IniParse(written);
        // What was written must read back as the same data, so a write-back never changes it.
        ASSERT_EQ(IniSerialize(twice), written) << "round " << round;
        // Every key of the first section of each name is found (later namesakes are shadowed).
        for (size_t i = 0; i < once.sections.size(); ++i) {
            const IniSection& s = once.sections[i];
            bool first = true;
            for (size_t j = 0; j < i; ++j)
                if (IniNameEqual(once.sections[j].name, s.name)) first = false;
            if (!first) continue;
            for (const IniPair& p : s.pairs) ASSERT_NE(IniFind(once, s.name, p.key), nullptr);
        }
    }
}

TEST(TextFuzz, LineReaderCoversEveryByteInBoundedLines) {
    std::mt19937 rng(77);
    for (int round = 0; round < 3000; ++round) {
        const std::string bytes = RandomText(rng, round % 40 == 0 ? 6000 : 400);
        MemoryLineStream in(bytes);
        std::string line;
        int64_t consumed = 0, total = 0;
        int lines = 0;
        while (LineRead(in, line, consumed)) {
            ASSERT_GT(consumed, 0) << "a line that consumes nothing would loop";
            ASSERT_LT(line.size(), kLineAreaSize);
            ASSERT_EQ(line.find('\0'), std::string::npos);
            total += consumed;
            ASSERT_EQ(static_cast<size_t>(total), in.Offset());
            ASSERT_LE(++lines, static_cast<int>(bytes.size()) + 1);
        }
        EXPECT_EQ(static_cast<size_t>(total), bytes.size()) << "round " << round;
    }
}
