#include "runtime/system_state.h"

SystemState& System() {
    static SystemState state;
    return state;
}
