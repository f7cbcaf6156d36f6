#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/resource.h>

#include "core/CoreDumps.h"

// In a child process, where core files were allowed, so the test program keeps its own.
TEST(CoreDumps, TheProcessWritesNoCoreFile) {
    const auto disableAndCheck = [] {
        rlimit limit{RLIM_INFINITY, RLIM_INFINITY};
        setrlimit(RLIMIT_CORE, &limit);  // may be refused; the limits are read back below
        const bool done = tolva::DisableCoreDumps();
        getrlimit(RLIMIT_CORE, &limit);
        std::exit(done && limit.rlim_cur == 0 && limit.rlim_max == 0 && prctl(PR_GET_DUMPABLE) == 0
                      ? 0
                      : 1);
    };
    EXPECT_EXIT(disableAndCheck(), testing::ExitedWithCode(0), "");
}
