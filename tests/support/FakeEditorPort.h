#pragma once

#include <QStringList>

#include "core/EditorPort.h"
#include "core/SharedState.h"
#include "core/modCfg.h"

namespace tolva::test {

// Stands in for the editor window and records, in order, what the core asks of it.
// Revealing a group shows it and lays the columns out again, as the window does.
class FakeEditorPort final : public EditorPort {
public:
    FakeEditorPort() {
        setEditorProvider([this] { return this; });
    }
    ~FakeEditorPort() override { setEditorProvider(nullptr); }

    void beginOptionLoad() override { calls << QStringLiteral("beginOptionLoad"); }
    void revealGroup(OptionGroup group) override {
        bool* shown[] = {&appState().gShowProc, &appState().gShowX, &appState().gShowR};
        *shown[int(group)] = true;
        ApplyViewState();
        calls << QStringLiteral("revealGroup ") + QStringList{"Spec", "X", "R"}.at(int(group));
    }
    void EditGridCell(int row, int col, const QString& text) override {
        calls << QStringLiteral("EditGridCell %1 %2 %3").arg(row).arg(col).arg(text);
    }
    void showViewSwitches(bool showProc, bool showX, bool showR) override {
        switches << QStringLiteral("%1%2%3").arg(showProc).arg(showX).arg(showR);
    }

    QStringList calls;     // every call but showViewSwitches, in order
    QStringList switches;  // one "<proc><x><r>" (as 0/1) per showViewSwitches
};

}  // namespace tolva::test
