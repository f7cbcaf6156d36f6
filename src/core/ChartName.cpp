#include "ChartName.h"

#include <QStringList>

namespace tolva {

ChartNameParts splitChartName(const QString& name) {
    const QStringList pieces = name.split(QStringLiteral("]["));
    if (pieces.size() < 2)
        return {name, QString()};
    // The first piece loses its "[", the second its "]"; a name beginning or
    // ending with "][" leaves an empty piece with nothing to cut.
    const QString& first = pieces.at(0);
    const QString& second = pieces.at(1);
    return {second.isEmpty() ? QString() : second.left(second.size() - 1),
            first.isEmpty() ? QString() : first.mid(1)};
}

}  // namespace tolva
