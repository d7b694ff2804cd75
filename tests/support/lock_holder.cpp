#include "support/lock_holder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

void LockHolder::Hold(const std::string& path) {
    ASSERT_EQ(pid_, -1) << "already holding a lock";
    ASSERT_EQ(pipe(ready_), 0);
    ASSERT_EQ(pipe(release_), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const int fd = open(path.c_str(), O_RDONLY);
        flock(fd, LOCK_EX);
        char c = 1;
        (void)!write(ready_[1], &c, 1);
        (void)!read(release_[0], &c, 1);
        _exit(0);
    }
    pid_ = pid;
    char c;
    ASSERT_EQ(read(ready_[0], &c, 1), 1);
}

void LockHolder::Release() {
    if (pid_ > 0) {
        const char c = 1;
        (void)!write(release_[1], &c, 1);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    ClosePipes();
}

void LockHolder::ClosePipes() {
    for (int* fds : {ready_, release_})
        for (int i = 0; i < 2; ++i)
            if (fds[i] >= 0) {
                close(fds[i]);
                fds[i] = -1;
            }
}

}  // namespace testsupport
