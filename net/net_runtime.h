// The network module's place in start-up and the end path.
#pragma once

// Start-up "Init Network": the idle session state (no thread, no socket); registers the
// shutdown step.
void NetStateCreate();
// End path: this program's players leave, the thread stops before the sockets close, and
// the state is freed.
void NetShutdown();
