#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

#include "app/EditorPort.h"
#include "app/SharedState.h"

namespace tolva::test {

// Stands in for the editor window: records what the core asks of it, in order.
// Revealing a group turns its view switch on and lays the columns out again,
// as the window's toggle and grid fill do. Installs itself for its lifetime.
class FakeEditorPort final : public EditorPort {
public:
    struct Edit {
        int row;
        int col;
        QString text;
    };

    FakeEditorPort() {
        setEditorProvider([this] { return this; });
    }
    ~FakeEditorPort() override { setEditorProvider(nullptr); }

    void beginOptionLoad() override {
        ++optionLoads;
        record(QStringLiteral("beginOptionLoad"));
    }
    void revealGroup(OptionGroup group) override {
        SharedState& s = appState();
        bool& shown = group == OptionGroup::Spec ? s.gShowProc
                      : group == OptionGroup::X  ? s.gShowX
                                                 : s.gShowR;
        shown = true;
        layColumns();
        revealed.append(group);
        record(QStringLiteral("revealGroup ") + groupName(group));
    }
    void EditGridCell(int row, int col, const QString& text) override {
        edits.append({row, col, text});
        record(QStringLiteral("EditGridCell %1 %2 ").arg(row).arg(col) + text);
    }
    void showViewSwitches(bool showProc, bool showX, bool showR) override {
        record(QStringLiteral("showViewSwitches %1 %2 %3").arg(showProc).arg(showX).arg(showR));
    }

    // Column numbers from the view switches and the current monitor: the
    // characteristic, the query column of a query profile, then the shown
    // groups, each as lower, centre, upper.
    static void layColumns() {
        SharedState& s = appState();
        int c = 0;
        const bool query = s.gMonitorIndex >= 0 && s.gMonitorIndex < s.gMonitors.size() &&
                           s.currentMonitor().IsQueryProfile == 1;
        s.gColQuery = query ? 1 : 0;
        c = s.gColQuery;
        auto lay = [&c](bool shown, int& low, int& mid, int& high) {
            low = shown ? c + 1 : -1;
            mid = shown ? c + 2 : -1;
            high = shown ? c + 3 : -1;
            if (shown)
                c += 3;
        };
        lay(s.gShowProc, s.gColSpecLower, s.gColSpecNominal, s.gColSpecUpper);
        lay(s.gShowX, s.gColXLcl, s.gColXCl, s.gColXUcl);
        lay(s.gShowR, s.gColRLcl, s.gColRCl, s.gColRUcl);
        s.gColCount = c + 1;
    }

    static QString groupName(OptionGroup group) {
        switch (group) {
            case OptionGroup::Spec:
                return QStringLiteral("Spec");
            case OptionGroup::X:
                return QStringLiteral("X");
            case OptionGroup::R:
                return QStringLiteral("R");
        }
        return QString();
    }

    int optionLoads = 0;
    QVector<OptionGroup> revealed;
    QVector<Edit> edits;
    QStringList calls;                           // every call, in order
    std::function<void(const QString&)> onCall;  // runs after each recorded call

private:
    void record(const QString& call) {
        calls.append(call);
        if (onCall)
            onCall(call);
    }
};

}  // namespace tolva::test
