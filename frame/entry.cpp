// The process entry: main() belongs to the runtime and hands over to the program entry.
// The runtime defines main() here; the header must not rename it.
#define CORVANE_OWN_MAIN
#include "frame/startup.h"

int main(int argc, char** argv) {
    ProgramEntry(nullptr, CommandLineTail(argc, argv), kShowDefault);
}
