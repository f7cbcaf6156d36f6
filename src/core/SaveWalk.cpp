#include "SaveWalk.h"

#include <array>
#include <optional>

#include "DbConnection.h"
#include "GroupChecks.h"
#include "OptionReader.h"
#include "OptionWriter.h"
#include "core/SharedState.h"
#include "core/UiPort.h"
#include "core/Version.h"

namespace tolva {

namespace {

// Option names of one control chart family.
struct ControlNames {
    OptionGroup group;
    const char* type;
    const char* centreLine;
    const char* centreLineValue;
    const char* lclConstant;
    const char* uclConstant;
    std::array<const char*, 11> clearOrder;  // deletes of a cleared group, in order
};

const ControlNames kXNames{
    OptionGroup::X,
    "XTypeOfLCLandUCL",
    "XChartCenterLine",
    "XChartCenterLineValue",
    "XChartLCLConstant",
    "XChartUCLConstant",
    {{"XTypeOfLCLandUCL", "XChartCenterLine", "XChartCenterLineValue", "XChartUCL", "XChartUCLp",
      "XChartUCLConstant", "XChartLCL", "XChartLCLp", "XChartLCLConstant", "XChartSigma",
      "XChartSigmaValue"}}};

const ControlNames kRNames{OptionGroup::R,
                           "RTypeOfLCLandUCL",
                           "RChartCenterLine",
                           "RChartCenterLineValue",
                           "RChartLCLConstant",
                           "RChartUCLConstant",
                           {{"RTypeOfLCLandUCL", "RChartCenterLine", "RChartCenterLineValue",
                             "RChartSigma", "RChartSigmaValue", "RChartUCL", "RChartUCLp",
                             "RChartUCLConstant", "RChartLCL", "RChartLCLp", "RChartLCLConstant"}}};

const char* const kSpecClearOrder[] = {"ProcCapSpecType", "ProcCapDelta", "ProcCapLower",
                                       "ProcCapUpper", "ProcCapNominal"};

// One save: a single connection, opened by the first statement that needs it.
class Walk {
public:
    bool run() {
        const int rows = int(appState().gOptionRows.size());
        for (int i = 0; i < rows; ++i) {
            // A copy: the reaction to a failed check refills the grid.
            const OptionRow row = appState().gOptionRows.at(i);
            if (!saveSpec(i, row) || !saveControl(i, row, kXNames, row.XLcl, row.XCl, row.XUcl) ||
                !saveControl(i, row, kRNames, row.RLcl, row.RCl, row.RUcl))
                return false;
        }
        uiPort().setNormalPointer();
        return true;
    }

private:
    bool write(const char* name, qint32 c, const TaggedValue& value) {
        return WriteOptionValue(m_db, QLatin1String(name), c, value);
    }
    bool remove(const char* name, qint32 c) {
        return DeleteOptionValue(m_db, QLatin1String(name), c);
    }
    template <typename Names>
    bool removeAll(const Names& names, qint32 c) {
        for (const char* name : names) {
            if (!remove(name, c))
                return false;
        }
        return true;
    }

    // A type read that fails ends the walk; the user sees the driver's text.
    template <typename Reader>
    std::optional<qint32> readType(Reader reader, qint32 c) {
        try {
            return reader(m_db, c);
        } catch (const DbError& error) {
            uiPort().setNormalPointer();
            uiPort().message(error.description(), UiPort::Icon::Critical,
                             QString::fromUtf8(kAppTitle));
            return std::nullopt;
        }
    }

    bool saveSpec(int i, const OptionRow& r) {
        const qint32 c = r.ChartId;
        switch (GetGroupChange(r.SpecLower, r.SpecNominal, r.SpecUpper)) {
            case 1:
                return removeAll(kSpecClearOrder, c);
            case 2: {
                if (!CheckGroup(i, OptionGroup::Spec))
                    return false;
                const qint32 newType = r.SpecLower.Current.isEmpty()   ? 3
                                       : r.SpecUpper.Current.isEmpty() ? 2
                                                                       : 1;
                const std::optional<qint32> oldType = readType(ReadSpecType, c);
                if (!oldType)
                    return false;
                if (*oldType != newType &&
                    !write("ProcCapSpecType", c, TaggedValue::number(newType)))
                    return false;
                // An emptied limit stays in the database: the new type hides it.
                if (!r.SpecLower.Current.isEmpty() &&
                    !write("ProcCapLower", c, r.SpecLower.Current))
                    return false;
                if (!write("ProcCapNominal", c, r.SpecNominal.Current))
                    return false;
                if (!r.SpecUpper.Current.isEmpty() &&
                    !write("ProcCapUpper", c, r.SpecUpper.Current))
                    return false;
                return true;
            }
            default:
                return true;
        }
    }

    bool saveControl(int i, const OptionRow& r, const ControlNames& names, const OptionCell& lcl,
                     const OptionCell& cl, const OptionCell& ucl) {
        const qint32 c = r.ChartId;
        switch (GetGroupChange(lcl, cl, ucl)) {
            case 1:
                return removeAll(names.clearOrder, c);
            case 2: {
                if (!CheckGroup(i, names.group))
                    return false;
                const std::optional<qint32> oldType = names.group == OptionGroup::X
                                                          ? readType(ReadXLimitType, c)
                                                          : readType(ReadRLimitType, c);
                if (!oldType)
                    return false;
                if (*oldType != 2 && !write(names.type, c, TaggedValue::number(2)))
                    return false;
                if (cl.Current.isEmpty()) {
                    return remove(names.centreLine, c) && remove(names.centreLineValue, c) &&
                           write(names.lclConstant, c, lcl.Current) &&
                           write(names.uclConstant, c, ucl.Current);
                }
                return write(names.lclConstant, c, lcl.Current) &&
                       write(names.centreLine, c, TaggedValue::number(1)) &&
                       write(names.centreLineValue, c, cl.Current) &&
                       write(names.uclConstant, c, ucl.Current);
            }
            default:
                return true;
        }
    }

    DbConnection m_db;
};

}  // namespace

int GetGroupChange(const OptionCell& low, const OptionCell& middle, const OptionCell& high) {
    if (!low.isChanged() && !middle.isChanged() && !high.isChanged())
        return 0;
    const bool allCleared = low.Current.equalsEmptyValue() && middle.Current.equalsEmptyValue() &&
                            high.Current.equalsEmptyValue();
    return allCleared ? 1 : 2;
}

bool SaveMonitorOptions() {
    return Walk().run();
}

}  // namespace tolva
