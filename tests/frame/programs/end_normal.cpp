// A release build that ends normally.
#include "corvane.h"

void GameMain() {
    LogWrite(RtString("game ran"));
    ProgramEnd();
}
