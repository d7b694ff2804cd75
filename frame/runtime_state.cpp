#include "frame/runtime_state.h"

RuntimeState runtimeState;
