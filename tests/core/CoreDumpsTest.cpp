#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/resource.h>

#include "core/CoreDumps.h"

// In a child process where core files were allowed; the test program keeps its own.
TEST(CoreDumps, TheProcessWritesNoCoreFile) {
    const auto check = [] {
        rlimit limit{RLIM_INFINITY, RLIM_INFINITY};
        setrlimit(RLIMIT_CORE, &limit);  // may be refused; what counts is read back
        const bool done = tolva::DisableCoreDumps() && getrlimit(RLIMIT_CORE, &limit) == 0;
        const bool off = limit.rlim_cur == 0 && limit.rlim_max == 0 && prctl(PR_GET_DUMPABLE) == 0;
        std::exit(done && off ? 0 : 1);
    };
    EXPECT_EXIT(check(), testing::ExitedWithCode(0), "");
}
