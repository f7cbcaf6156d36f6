#include "UiPort.h"

namespace tolva {

namespace {

class SilentUiPort final : public UiPort {
public:
    void setBusyPointer() override {}
    void setNormalPointer() override {}
    void processPendingEvents() override {}
    Answer message(const QString&, Icon, const QString&, Buttons buttons) override {
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
    ConflictAnswer resolve(const GroupConflict&) override { return ConflictAnswer{}; }
};

SilentUiPort g_silent;
UiPort* g_port = &g_silent;

}  // namespace

UiPort& uiPort() {
    return *g_port;
}

void setUiPort(UiPort* port) {
    g_port = port ? port : &g_silent;
}

}  // namespace tolva
