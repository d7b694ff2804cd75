// Random and mutated input for the parsers of outside bytes: the packet parser, the stream
// framing and the HTTP header skip. Deterministic seeds, so a failure repeats.
#include <gtest/gtest.h>

#include <random>

#include "net/http_rules.h"
#include "net/packet.h"
#include "platform/packet_framing.h"

namespace {
std::string RandomBytes(std::mt19937& rng, size_t n) {
    std::string s(n, '\0');
    for (auto& c : s) c = static_cast<char>(rng() & 0xFF);
    return s;
}

// What a packet must satisfy to be accepted, read independently of the parser.
bool ShouldAccept(const std::string& b) {
    if (b.size() < 17 || b.compare(0, 4, "CRVN") != 0) return false;
    const auto* u = reinterpret_cast<const unsigned char*>(b.data());
    const int64_t l = static_cast<int32_t>(u[5] | u[6] << 8 | u[7] << 16 | uint32_t(u[8]) << 24);
    return l >= 0 && l <= 1024 && static_cast<int64_t>(b.size()) == 17 + l;
}
}  // namespace

TEST(NetFuzz, PacketParserAcceptsExactlyTheConsistentPackets) {
    std::mt19937 rng(1234);
    int accepted = 0;
    for (int i = 0; i < 200000; ++i) {
        std::string b;
        switch (i % 4) {
            case 0:  // raw noise
                b = RandomBytes(rng, rng() % 1100);
                break;
            case 1:  // a real packet with one byte changed
            case 2: {
                b = PacketBuild(static_cast<uint8_t>(rng()), static_cast<int32_t>(rng()),
                                static_cast<int32_t>(rng()), RandomBytes(rng, rng() % 1025));
                b[rng() % b.size()] = static_cast<char>(rng());
                break;
            }
            default: {  // a real packet cut or lengthened
                b = PacketBuild(3, 1, 2, RandomBytes(rng, rng() % 1025));
                if (rng() % 2)
                    b.resize(rng() % b.size());
                else
                    b += RandomBytes(rng, 1 + rng() % 8);
            }
        }
        Packet p;
        const bool ok = PacketParse(b.data(), b.size(), p);
        ASSERT_EQ(ok, ShouldAccept(b)) << "case " << i;
        if (ok) {
            ++accepted;
            ASSERT_EQ(p.payload.size() + 17, b.size());
            ASSERT_EQ(PacketBuild(p), b);
        }
    }
    EXPECT_GT(accepted, 1000);  // the mutations leave many packets whole
}

TEST(NetFuzz, FramingNeverHoldsMoreThanOneFrameOfNoise) {
    std::mt19937 rng(99);
    for (int round = 0; round < 2000; ++round) {
        platform::FrameDecoder d(kPacketMax);
        std::string p;
        bool refused = false;
        for (int feed = 0; feed < 20 && !refused; ++feed) {
            const std::string b = RandomBytes(rng, rng() % 600);
            d.Feed(b.data(), b.size());
            for (;;) {
                const auto r = d.Next(p);
                if (r == platform::FrameDecoder::Result::TooLong) refused = true;
                if (r != platform::FrameDecoder::Result::Packet) break;
                ASSERT_LE(p.size(), kPacketMax);
            }
            ASSERT_LE(d.Buffered(), kPacketMax + 4 + 600);
        }
    }
}

TEST(NetFuzz, HeaderSkipGivesTheSameBodyForEverySplit) {
    std::mt19937 rng(7);
    const char alphabet[] = {'\r', '\n', 'a', ':', ' '};
    for (int i = 0; i < 20000; ++i) {
        std::string answer(rng() % 64, 'x');
        for (auto& c : answer) c = alphabet[rng() % 5];
        HttpHeaderSkip whole;
        const size_t at = whole.Feed(answer.data(), answer.size());
        const std::string expect = whole.Done() ? answer.substr(at) : "-";
        HttpHeaderSkip pieces;
        std::string body;
        size_t from = 0;
        while (from < answer.size()) {
            const size_t n = 1 + rng() % (answer.size() - from);
            const size_t b = pieces.Feed(answer.data() + from, n);
            ASSERT_LE(b, n);
            body.append(answer, from + b, n - b);
            from += n;
        }
        ASSERT_EQ(pieces.Done() ? body : "-", expect) << i;
    }
}
