#include "CoreDumps.h"

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace tolva {

bool DisableCoreDumps() {
    bool done = true;
#ifdef Q_OS_UNIX
    const rlimit none{0, 0};
    done = setrlimit(RLIMIT_CORE, &none) == 0;
#endif
#ifdef Q_OS_LINUX
    // Also covers a core-dump pipe handler, which ignores the size limit.
    done = prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) == 0 && done;
#endif
    return done;
}

}  // namespace tolva
