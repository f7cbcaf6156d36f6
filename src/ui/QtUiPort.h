#pragma once

#include "ui/UiPort.h"

namespace tolva {

// The desktop's own busy pointer, event processing and message boxes.
class QtUiPort final : public UiPort {
public:
    void setBusyPointer() override;
    void setNormalPointer() override;
    void processPendingEvents() override;
    Answer message(const QString& text, Icon icon, const QString& title, Buttons buttons) override;
    Answer saveQuestion(const QVector<PendingChange>& changes, bool askReason,
                        QString& reason) override;
    ConflictAnswer resolve(const GroupConflict& conflict) override;
};

}  // namespace tolva
