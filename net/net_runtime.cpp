#include "net/net_runtime.h"

#include <memory>

#include "net/net_state.h"
#include "runtime/shutdown.h"

namespace {
std::unique_ptr<NetState> gNet;
}  // namespace

NetState* Net() {
    return gNet.get();
}

void NetStateCreate() {
    gNet = std::make_unique<NetState>();
    ShutdownRegister(ShutdownStep::Network, NetShutdown);
}

void NetShutdown() {
    if (gNet) gNet->session.Stop();
    gNet.reset();
}
