#include "LimitGroups.h"

#include "core/Catalog.h"

namespace tolva {

const std::array<LimitGroup, 3>& limitGroups() {
    static const std::array<LimitGroup, 3> groups{{
        {OptionGroup::Spec,
         {&OptionRow::SpecLower, &OptionRow::SpecNominal, &OptionRow::SpecUpper},
         "ProcCapSpecType",
         {"ProcCapLower", "ProcCapNominal", "ProcCapUpper"},
         nullptr,
         {155, 154, 153},
         {"ProcCapSpecType", "ProcCapDelta", "ProcCapLower", "ProcCapUpper", "ProcCapNominal"},
         115,
         116,
         0,
         0,
         116,
         117},
        {OptionGroup::X,
         {&OptionRow::XLcl, &OptionRow::XCl, &OptionRow::XUcl},
         "XTypeOfLCLandUCL",
         {"XChartLCLConstant", "XChartCenterLineValue", "XChartUCLConstant"},
         "XChartCenterLine",
         {157, 158, 156},
         {"XTypeOfLCLandUCL", "XChartCenterLine", "XChartCenterLineValue", "XChartUCL",
          "XChartUCLp", "XChartUCLConstant", "XChartLCL", "XChartLCLp", "XChartLCLConstant",
          "XChartSigma", "XChartSigmaValue"},
         0,
         118,
         119,
         120,
         121,
         122},
        {OptionGroup::R,
         {&OptionRow::RLcl, &OptionRow::RCl, &OptionRow::RUcl},
         "RTypeOfLCLandUCL",
         {"RChartLCLConstant", "RChartCenterLineValue", "RChartUCLConstant"},
         "RChartCenterLine",
         {160, 161, 159},
         {"RTypeOfLCLandUCL", "RChartCenterLine", "RChartCenterLineValue", "RChartSigma",
          "RChartSigmaValue", "RChartUCL", "RChartUCLp", "RChartUCLConstant", "RChartLCL",
          "RChartLCLp", "RChartLCLConstant"},
         0,
         123,
         124,
         125,
         126,
         122},
    }};
    return groups;
}

const LimitGroup& limitGroup(OptionGroup group) {
    return limitGroups()[size_t(group)];
}

const std::array<OptionCellRef, 9>& limitCells() {
    static const std::array<OptionCellRef, 9> cells = [] {
        std::array<OptionCellRef, 9> all{};
        size_t i = 0;
        for (const LimitGroup& g : limitGroups()) {
            for (OptionCellRef cell : g.cells)
                all[i++] = cell;
        }
        return all;
    }();
    return cells;
}

OptionGroup groupOf(OptionCellRef cell) {
    for (const LimitGroup& g : limitGroups()) {
        for (OptionCellRef c : g.cells) {
            if (c == cell)
                return g.group;
        }
    }
    return OptionGroup::Spec;
}

int limitCellIndex(OptionCellRef cell) {
    const auto& cells = limitCells();
    for (size_t i = 0; i < cells.size(); ++i) {
        if (cells[i] == cell)
            return int(i);
    }
    return -1;
}

QString limitHeading(OptionCellRef cell) {
    for (const LimitGroup& g : limitGroups()) {
        for (size_t k = 0; k < g.cells.size(); ++k) {
            if (g.cells[k] == cell)
                return catalogHeading(g.headings[k]);
        }
    }
    return QString();
}

QString limitHeadingOnOneLine(OptionCellRef cell) {
    return limitHeading(cell).split(QStringLiteral("\r\n")).join(u' ');
}

}  // namespace tolva
