#pragma once

#include <QString>

namespace tolva {

// A chart name cut into the characteristic and the query it belongs to. A query
// profile names its charts "[query][characteristic]"; a name without "][" is the
// characteristic alone, with no query.
struct ChartNameParts {
    QString characteristic;
    QString query;
};
ChartNameParts splitChartName(const QString& name);

}  // namespace tolva
