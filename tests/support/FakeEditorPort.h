#pragma once

#include <QStringList>

#include "core/EditorPort.h"
#include "core/SharedState.h"
#include "core/ViewState.h"

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
        ApplyViewState(appState());
        calls << QStringLiteral("revealGroup ") + QStringList{"Spec", "X", "R"}.at(int(group));
    }
    void EditGridCell(int row, int col, const QString& text) override {
        calls << QStringLiteral("EditGridCell %1 %2 %3").arg(row).arg(col).arg(text);
    }

    QStringList calls;  // every call, in order
};

}  // namespace tolva::test
