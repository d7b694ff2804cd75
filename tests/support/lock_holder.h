// Another process holding a file's exclusive flock: the case of a second writer at work, for the
// tests of code that must wait for, skip or give up on a locked file.
#pragma once

#include <sys/types.h>

#include <string>

namespace testsupport {

class LockHolder {
public:
    LockHolder() = default;
    ~LockHolder() { Release(); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    // Forks a child that opens path and locks it, and returns once the lock is held. It asserts
    // as it goes: call it under ASSERT_NO_FATAL_FAILURE.
    void Hold(const std::string& path);
    // Lets the child unlock and end, and reaps it; nothing when no child holds a lock.
    void Release();

private:
    void ClosePipes();
    pid_t pid_ = -1;
    int ready_[2] = {-1, -1};
    int release_[2] = {-1, -1};
};

}  // namespace testsupport
