// The process entry: main() belongs to the runtime and hands over to the program entry.
#include "frame/startup.h"

int main(int argc, char** argv) {
    ProgramEntry(nullptr, CommandLineTail(argc, argv), kShowDefault);
}
