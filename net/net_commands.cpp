#include <string>
#include <vector>

#include "core/int_convert.h"
#include "core/number_text.h"
#include "corvane.h"
#include "net/address_text.h"
#include "net/net_state.h"
#include "platform/sockets.h"
#include "runtime/end_path.h"
#include "runtime/rt_text.h"

namespace {

int32_t IdFromText(const RtString& text) {
    return ParseInt(text.c_str());
}

RtString IdText(int32_t id) {
    return StdToRt(std::to_string(id));
}

}  // namespace

double NetHost(const RtString& port) {
    NetState* net = Net();
    return net && net->session.Host(NetPortFromText(RtToStd(port))) ? 1 : 0;
}

double NetJoin(const RtString& server, const RtString& port) {
    NetState* net = Net();
    return net && net->session.Join(RtToStd(server), NetPortFromText(RtToStd(port))) ? 1 : 0;
}

RtString NetLocalAddresses() {
    std::vector<std::string> addresses;
    if (!platform::LocalAddressesList(addresses)) return RtString();
    return StdToRt(AddressText(addresses));
}

RtString NetPlayerCreate(const RtString& name) {
    NetState* net = Net();
    const int32_t id = net ? net->session.PlayerCreate(RtToStd(name)) : -1;
    EndSignalCheck();  // the answer's wait gave up for an end signal
    return IdText(id);
}

double NetPlayerCount() {
    NetState* net = Net();
    int32_t count = 0;
    const bool ok = net && net->session.PlayerCount(count);
    EndSignalCheck();
    return ok ? count : 0;
}

RtString NetPlayerId(double index) {
    NetState* net = Net();
    int32_t id = 0;
    const bool ok = net && net->session.PlayerId(ToInt(index), id);
    EndSignalCheck();
    if (!ok) return RtString("0");
    return IdText(id);
}

RtString NetPlayerName(const RtString& playerId) {
    NetState* net = Net();
    std::string name;
    const bool ok = net && net->session.PlayerName(IdFromText(playerId), name);
    EndSignalCheck();
    if (!ok) return RtString("NO_DATA");
    return StdToRt(name);
}

double NetPlayerKill(const RtString& playerId) {
    if (NetState* net = Net()) net->session.PlayerKill(IdFromText(playerId));
    return 1;
}

double NetMessageSend(const RtString& sender, const RtString& target, const RtString& message) {
    NetState* net = Net();
    int32_t to = IdFromText(target);
    if (to == 0) to = -1;
    return net && net->session.MessageSend(IdFromText(sender), to, RtToStd(message)) ? 1 : 0;
}

RtString NetMessageGet(const RtString& playerId) {
    NetState* net = Net();
    std::string text;
    int32_t sender = 0;
    if (!net || !net->session.MessageGet(IdFromText(playerId), text, sender)) return RtString();
    net->lastSender = sender;
    return StdToRt(text);
}

RtString NetMessageSender() {
    NetState* net = Net();
    return IdText(net ? net->lastSender : -1);
}
