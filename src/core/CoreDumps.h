#pragma once

namespace tolva {

// The password stays in memory while connected: a crash must not write it to
// disk. Turns core dumps off for the whole process, for good (the hard limit
// too, and the process is no longer dumpable). False when the system refused.
bool DisableCoreDumps();

}  // namespace tolva
