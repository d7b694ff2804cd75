#include "net/packet.h"

#include <cstring>

#include "core/bytes.h"

namespace {
constexpr char kMagic[4] = {'C', 'R', 'V', 'N'};
}

void Int32Append(std::string& out, int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

bool Int32Read(std::string_view bytes, int32_t& v) {
    if (bytes.size() < 4) return false;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    v = static_cast<int32_t>(BytesLe32(p));
    return true;
}

std::string PacketBuild(uint8_t type, int32_t target, int32_t sender, std::string_view payload) {
    if (payload.size() > kPacketPayloadMax) payload = payload.substr(0, kPacketPayloadMax);
    std::string out(kMagic, 4);
    out.reserve(kPacketHeaderSize + payload.size());
    out.push_back(static_cast<char>(type));
    Int32Append(out, static_cast<int32_t>(payload.size()));
    Int32Append(out, target);
    Int32Append(out, sender);
    out.append(payload);
    return out;
}

std::string PacketBuild(const Packet& p) {
    return PacketBuild(p.type, p.target, p.sender, p.payload);
}

bool PacketParse(const char* data, size_t n, Packet& out) {
    if (n < kPacketHeaderSize || std::memcmp(data, kMagic, 4) != 0) return false;
    const std::string_view bytes(data, n);
    int32_t length = 0, target = 0, sender = 0;
    Int32Read(bytes.substr(5), length);
    Int32Read(bytes.substr(9), target);
    Int32Read(bytes.substr(13), sender);
    if (length < 0 || static_cast<size_t>(length) > kPacketPayloadMax ||
        kPacketHeaderSize + static_cast<size_t>(length) != n)
        return false;
    out.type = static_cast<uint8_t>(data[4]);
    out.target = target;
    out.sender = sender;
    out.payload.assign(data + kPacketHeaderSize, static_cast<size_t>(length));
    return true;
}

std::string JoinPayloadBuild(uint32_t token, std::string_view name) {
    std::string out;
    Int32Append(out, static_cast<int32_t>(token));
    Int32Append(out, 0);
    const size_t cut = name.find('\0');
    if (cut != std::string_view::npos) name = name.substr(0, cut);
    if (name.size() > kPlayerNameMax) name = name.substr(0, kPlayerNameMax);
    out.append(name);
    out.resize(kJoinPayloadSize, '\0');
    return out;
}

bool JoinPayloadParse(std::string_view payload, uint32_t& token, std::string& name) {
    if (payload.size() != kJoinPayloadSize) return false;
    int32_t t = 0;
    Int32Read(payload, t);
    token = static_cast<uint32_t>(t);
    std::string_view field = payload.substr(8, kPlayerNameMax + 1);
    const size_t end = field.find('\0');
    field = field.substr(0, end == std::string_view::npos ? kPlayerNameMax : end);
    if (field.size() > kPlayerNameMax) field = field.substr(0, kPlayerNameMax);
    name.assign(field);
    return true;
}
