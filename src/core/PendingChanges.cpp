#include "PendingChanges.h"

#include "ChartName.h"
#include "core/Catalog.h"

namespace tolva {

QVector<PendingChange> pendingChanges(const SharedState& s) {
    struct Cell {
        OptionCell OptionRow::*cell;
        int heading;
    };
    static const Cell cells[] = {
        {&OptionRow::SpecLower, 155}, {&OptionRow::SpecNominal, 154}, {&OptionRow::SpecUpper, 153},
        {&OptionRow::XLcl, 157},      {&OptionRow::XCl, 158},         {&OptionRow::XUcl, 156},
        {&OptionRow::RLcl, 160},      {&OptionRow::RCl, 161},         {&OptionRow::RUcl, 159}};
    QVector<PendingChange> changes;
    for (int i = 0; i < s.gOptionRows.size(); ++i) {
        const OptionRow& row = s.gOptionRows.at(i);
        for (const Cell& c : cells) {
            const OptionCell& cell = row.*c.cell;
            if (!cell.isChanged())
                continue;
            changes.append({i, splitChartName(row.ChartName).characteristic,
                            catalogHeading(c.heading).split(QStringLiteral("\r\n")).join(u' '),
                            cell.Loaded, cell.Current});
        }
    }
    return changes;
}

}  // namespace tolva
