// The session packet: "CRVN", type, payload length, target and sender ids, payload; all
// little-endian. Pure logic: build and parse, the join payload, the 32-bit fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

constexpr size_t kPacketHeaderSize = 17;
constexpr size_t kPacketPayloadMax = 1024;
constexpr size_t kPacketMax = kPacketHeaderSize + kPacketPayloadMax;  // 1,041
constexpr size_t kJoinPayloadSize = 152;
constexpr size_t kPlayerNameMax = 127;

enum PacketType : uint8_t {
    kPacketJoin = 1,        // joiner -> host: a player wants in (payload: the join payload)
    kPacketJoinAnswer = 2,  // host -> joiner: target = the new id, or -1 refused; payload: token
    kPacketMessage = 3,     // text; target -1 = every player but the sender
    kPacketKill = 4,        // remove the player whose id is in the sender field
    kPacketCount = 101,     // request and reply: the number of players
    kPacketIdAt = 102,      // request (payload: index) and reply (payload: the id)
    kPacketName = 103,      // request (payload: id) and reply (payload: the name)
};

struct Packet {
    uint8_t type = 0;
    int32_t target = 0;
    int32_t sender = 0;
    std::string payload;  // exactly the L bytes the header announced
};

// The 17 + L bytes of p; the payload is cut at 1,024 bytes.
std::string PacketBuild(const Packet& p);
std::string PacketBuild(uint8_t type, int32_t target, int32_t sender, std::string_view payload);
// Accepts data only when it starts with the magic, its length L is 0..1,024 and 17 + L is
// exactly n; nothing else is read as a packet.
bool PacketParse(const char* data, size_t n, Packet& out);

// The join request's 152 bytes: token (4), reserved (4), the name in 128 bytes (at most 127
// and a terminator), zeros.
std::string JoinPayloadBuild(uint32_t token, std::string_view name);
// False unless payload is exactly 152 bytes; the name is the bytes before the first zero in
// its field, at most 127.
bool JoinPayloadParse(std::string_view payload, uint32_t& token, std::string& name);

void Int32Append(std::string& out, int32_t v);
// The 32-bit little-endian value at the start of bytes; false when fewer than 4.
bool Int32Read(std::string_view bytes, int32_t& v);
