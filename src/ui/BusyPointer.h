#pragma once

namespace tolva {

// The desktop's busy pointer for the length of a scope. It is set on
// construction, with one pass of pending events when asked so that it shows
// before the thread blocks on the database, and goes back to the normal pointer
// on release() or at the end of the scope. Release it before a message box.
class BusyPointer {
public:
    enum class Show { Later, Now };
    explicit BusyPointer(Show show = Show::Now);
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

    void release();

private:
    bool m_busy = true;
};

}  // namespace tolva
