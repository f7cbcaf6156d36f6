#include "BusyPointer.h"

#include "ui/UiPort.h"

namespace tolva {

BusyPointer::BusyPointer(Show show) {
    uiPort().setBusyPointer();
    if (show == Show::Now)
        uiPort().processPendingEvents();
}

BusyPointer::~BusyPointer() {
    release();
}

void BusyPointer::release() {
    if (!m_busy)
        return;
    m_busy = false;
    uiPort().setNormalPointer();
}

}  // namespace tolva
