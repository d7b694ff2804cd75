#include "runtime/runtime_state.h"

RuntimeState runtimeState;
