#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/resource.h>

#include "core/CoreDumps.h"

TEST(CoreDumps, TheProcessWritesNoCoreFile) {
    ASSERT_TRUE(tolva::DisableCoreDumps());
    rlimit limit{RLIM_INFINITY, RLIM_INFINITY};
    getrlimit(RLIMIT_CORE, &limit);
    EXPECT_EQ(limit.rlim_cur + limit.rlim_max, 0u);  // a process cannot raise it again
    EXPECT_EQ(prctl(PR_GET_DUMPABLE), 0);
}
