// The packet format, the stream framing under it, and the small text rules of the commands.
#include "net/packet.h"

#include <gtest/gtest.h>

#include "net/address_text.h"
#include "net/session.h"
#include "platform/packet_framing.h"
#include "tests/net/net_test_helpers.h"

using nettest::RawPacket;

TEST(NetPacket, BuildsTheHeaderAndParsesItBack) {
    const std::string payload("a\0b\xff", 4);  // zero and high bytes travel as they are
    const std::string bytes = PacketBuild(kPacketMessage, -1, 7, payload);
    ASSERT_EQ(bytes.size(), kPacketHeaderSize + 4);
    EXPECT_EQ(bytes.substr(0, 4), "CRVN");
    EXPECT_EQ(bytes[4], 3);
    EXPECT_EQ(bytes.substr(5, 12), std::string("\x04\0\0\0\xff\xff\xff\xff\x07\0\0\0", 12));
    Packet p;
    ASSERT_TRUE(PacketParse(bytes.data(), bytes.size(), p));
    EXPECT_EQ(p.type, kPacketMessage);
    EXPECT_EQ(p.target, -1);
    EXPECT_EQ(p.sender, 7);
    EXPECT_EQ(p.payload, payload);
}

TEST(NetPacket, AFullPayloadMakesOnePacketOf1041Bytes) {
    const std::string payload(1024, 'x');
    const std::string bytes = PacketBuild(kPacketMessage, 2, 1, payload);
    EXPECT_EQ(bytes.size(), 1041u);
    Packet p;
    ASSERT_TRUE(PacketParse(bytes.data(), bytes.size(), p));
    EXPECT_EQ(p.payload, payload);
    // Longer payloads are cut to what a packet holds, never written past it.
    EXPECT_EQ(PacketBuild(kPacketMessage, 2, 1, std::string(2000, 'y')).size(), 1041u);
}

TEST(NetPacket, AcceptsOnlyAWellFormedPacket) {
    const std::string body(10, 'b');
    struct Case {
        const char* what;
        std::string bytes;
        bool accepted;
    } cases[] = {
        {"well formed", RawPacket("CRVN", 3, 10, 1, 2, body), true},
        {"empty payload", RawPacket("CRVN", 101, 0, 0, 2, ""), true},
        {"magic wrong", RawPacket("CRVX", 3, 10, 1, 2, body), false},
        {"magic lower case", RawPacket("crvn", 3, 10, 1, 2, body), false},
        {"length over 1024", RawPacket("CRVN", 3, 1025, 1, 2, std::string(1025, 'c')), false},
        {"negative length", RawPacket("CRVN", 3, -1, 1, 2, body), false},
        {"length above the bytes", RawPacket("CRVN", 3, 11, 1, 2, body), false},
        {"length below the bytes", RawPacket("CRVN", 3, 9, 1, 2, body), false},
        {"header cut", RawPacket("CRVN", 3, 0, 1, 2, "").substr(0, 16), false},
        {"nothing", "", false},
    };
    for (const auto& c : cases) {
        Packet p;
        EXPECT_EQ(PacketParse(c.bytes.data(), c.bytes.size(), p), c.accepted) << c.what;
    }
}

TEST(NetPacket, JoinPayloadCarriesTokenAndNameWithinItsField) {
    uint32_t token = 0;
    std::string name;
    ASSERT_TRUE(JoinPayloadParse(JoinPayloadBuild(0xDEADBEEF, "alice"), token, name));
    EXPECT_EQ(token, 0xDEADBEEFu);
    EXPECT_EQ(name, "alice");
    // A long name is cut at 127; a field without any terminator still gives at most 127.
    ASSERT_TRUE(JoinPayloadParse(JoinPayloadBuild(1, std::string(300, 'n')), token, name));
    EXPECT_EQ(name, std::string(127, 'n'));
    std::string raw(kJoinPayloadSize, 'z');
    ASSERT_TRUE(JoinPayloadParse(raw, token, name));
    EXPECT_EQ(name, std::string(127, 'z'));
    EXPECT_FALSE(JoinPayloadParse(raw.substr(1), token, name));
    EXPECT_FALSE(JoinPayloadParse(raw + "z", token, name));
}

TEST(NetFraming, DeliversEachPacketWholeHoweverTheBytesArrive) {
    std::string stream;
    const std::string packets[] = {"", "one", std::string(1041, 'p'), "last"};
    for (const auto& p : packets) platform::FrameAppend(stream, p);
    for (size_t step : {size_t(1), size_t(3), size_t(7), stream.size()}) {
        platform::FrameDecoder d(kPacketMax);
        std::vector<std::string> got;
        for (size_t at = 0; at < stream.size(); at += step) {
            d.Feed(stream.data() + at, std::min(step, stream.size() - at));
            std::string p;
            while (d.Next(p) == platform::FrameDecoder::Result::Packet) got.push_back(p);
        }
        ASSERT_EQ(got.size(), 4u) << step;
        for (size_t i = 0; i < 4; ++i) EXPECT_EQ(got[i], packets[i]) << step;
        EXPECT_EQ(d.Buffered(), 0u);
    }
}

TEST(NetFraming, AFrameOverTheLimitRefusesTheStream) {
    platform::FrameDecoder d(kPacketMax);
    std::string stream;
    platform::FrameAppend(stream, std::string(kPacketMax + 1, 'x'));
    platform::FrameAppend(stream, "fine");
    d.Feed(stream.data(), stream.size());
    std::string p;
    EXPECT_EQ(d.Next(p), platform::FrameDecoder::Result::TooLong);
    EXPECT_EQ(d.Next(p), platform::FrameDecoder::Result::TooLong);
    EXPECT_EQ(d.Buffered(), 0u);
}

TEST(NetText, PortsFollowTheAtoiRuleWithTheDefaultBelowOne) {
    const std::pair<const char*, int> cases[] = {
        {"", 26000}, {"0", 26000},    {"-5", 26000},     {"abc", 26000},
        {"1", 1},    {" 4000", 4000}, {"27015x", 27015}, {"70000", 70000},
    };
    for (const auto& [text, port] : cases) EXPECT_EQ(NetPortFromText(text), port) << text;
}

TEST(NetText, LocalAddressesStopBeforeTheTextPlus32Passes4096Bytes) {
    EXPECT_EQ(AddressText({}), "");
    EXPECT_EQ(AddressText({"127.0.0.1", "::1"}), "127.0.0.1|::1");
    // 15-byte addresses: each adds 16 with its bar; the text may reach 4064 bytes.
    const std::vector<std::string> many(400, std::string(15, '1'));
    const std::string text = AddressText(many);
    EXPECT_LE(text.size() + 32, 4096u);
    EXPECT_GT(text.size() + 32 + 16, 4096u);  // and the next one would not have fitted
    EXPECT_EQ((text.size() + 1) % 16, 0u);    // whole addresses only
}
