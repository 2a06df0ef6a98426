// The helper's own definitions of the system calls a write makes. The storage library is linked into the
// helper statically, so its calls bind to these; each one counts itself and passes the call to the kernel.
#include "WriteSteps.h"

#include <csignal>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

namespace kazoomba::testing {
namespace {
bool armed = false;
bool skipSyncs = false;
int steps = 0;
int stopAt = -1;

void Step() {
    if (!armed) return;
    // Killed, not exited: nothing is flushed or closed on the way out, as in a crash.
    if (steps == stopAt) ::syscall(SYS_kill, ::syscall(SYS_getpid), SIGKILL);
    ++steps;
}
}  // namespace

void ArmWriteSteps(int stop) {
    armed = true;
    steps = 0;
    stopAt = stop;
}

void SkipSyncs() { skipSyncs = true; }

int DisarmWriteSteps() {
    armed = false;
    return steps;
}

}  // namespace kazoomba::testing

using kazoomba::testing::Step;
using kazoomba::testing::skipSyncs;

extern "C" {
ssize_t write(int fd, const void* bytes, size_t count) {
    Step();
    return ::syscall(SYS_write, fd, bytes, count);
}
int fsync(int fd) {
    Step();
    return skipSyncs ? 0 : static_cast<int>(::syscall(SYS_fsync, fd));
}
int fdatasync(int fd) {
    Step();
    return skipSyncs ? 0 : static_cast<int>(::syscall(SYS_fdatasync, fd));
}
int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) noexcept {
    Step();
    return static_cast<int>(::syscall(SYS_linkat, fromDir, from, toDir, to, flags));
}
int rename(const char* from, const char* to) noexcept {
    Step();
    return static_cast<int>(::syscall(SYS_rename, from, to));
}
int unlink(const char* path) noexcept {
    Step();
    return static_cast<int>(::syscall(SYS_unlink, path));
}
int close(int fd) {
    Step();
    return static_cast<int>(::syscall(SYS_close, fd));
}
int fchmod(int fd, mode_t mode) noexcept {
    Step();
    return static_cast<int>(::syscall(SYS_fchmod, fd, mode));
}
}
