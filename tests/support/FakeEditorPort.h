#pragma once

#include <QStringList>
#include <functional>

#include "app/EditorPort.h"
#include "app/SharedState.h"
#include "settings/modCfg.h"

namespace tolva::test {

// Stands in for the editor window and records, in order, what the core asks of it.
// Revealing a group shows it and lays the columns out again, as the window does.
class FakeEditorPort final : public EditorPort {
public:
    FakeEditorPort() {
        setEditorProvider([this] { return this; });
    }
    ~FakeEditorPort() override { setEditorProvider(nullptr); }

    void beginOptionLoad() override { record(QStringLiteral("beginOptionLoad")); }
    void revealGroup(OptionGroup group) override {
        SharedState& s = appState();
        const char* names[] = {"Spec", "X", "R"};
        bool* shown[] = {&s.gShowProc, &s.gShowX, &s.gShowR};
        *shown[int(group)] = true;
        ApplyViewState();
        record(QStringLiteral("revealGroup ") + QLatin1String(names[int(group)]));
    }
    void EditGridCell(int row, int col, const QString& text) override {
        record(QStringLiteral("EditGridCell %1 %2 %3").arg(row).arg(col).arg(text));
    }
    void showViewSwitches(bool showProc, bool showX, bool showR) override {
        switches << QStringLiteral("%1%2%3").arg(showProc).arg(showX).arg(showR);
    }

    QStringList calls;     // every call but showViewSwitches, in order
    QStringList switches;  // one "<proc><x><r>" (as 0/1) per showViewSwitches
    std::function<void(const QString&)> onCall;

private:
    void record(const QString& call) {
        calls << call;
        if (onCall)
            onCall(call);
    }
};

}  // namespace tolva::test
