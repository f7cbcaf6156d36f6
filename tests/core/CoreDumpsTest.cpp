#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/resource.h>

#include <cstdlib>

#include "core/CoreDumps.h"

namespace {

// Exits 0 when the process ends up unable to write a core file.
[[noreturn]] void disableAndCheck() {
    rlimit limit{RLIM_INFINITY, RLIM_INFINITY};
    setrlimit(RLIMIT_CORE, &limit);  // as on a machine that allows them (may be refused)
    const bool done = tolva::DisableCoreDumps();
    getrlimit(RLIMIT_CORE, &limit);
    const bool off =
        done && limit.rlim_cur == 0 && limit.rlim_max == 0 && prctl(PR_GET_DUMPABLE) == 0;
    std::exit(off ? 0 : 1);
}

}  // namespace

// In a child process, so the test program itself keeps its core files.
TEST(CoreDumps, TheProcessWritesNoCoreFile) {
    EXPECT_EXIT(disableAndCheck(), testing::ExitedWithCode(0), "");
}
