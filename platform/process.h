// Starting other programs: no shell is run, the words are the child's argv as they are.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The program file a name starts: a name with a '/' as it is, else the first executable of
// that name along $PATH; "" when there is none.
std::string ProgramFind(const std::string& name);

// Starts argv[0] (looked up along $PATH) with the caller's environment and folder. Only
// descriptors 0, 1 and 2 reach the child, whatever the caller has open. With captureOutput
// the child's standard output is a pipe whose reading end comes back in outputFd.
// Returns the child's process id, or -1 when it could not be started.
int ProcessStart(const std::vector<std::string>& argv, bool captureOutput = false,
                 int* outputFd = nullptr);

// Waits for that child alone and gives its exit code; a child ended by a signal gives
// 128 + the signal. -1 when pid is no child of ours.
int ProcessWait(int pid);

// This process's id.
int ProcessId();

// Reaps the child when it ends, without waiting for it here, so no zombie is left.
void ProcessReapLater(int pid);

// Reads a descriptor to its end (at most maxBytes) and closes it.
std::string DescriptorReadAll(int fd, size_t maxBytes);

}  // namespace platform
