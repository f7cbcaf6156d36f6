#include "SearchText.h"

namespace tolva {

QString foldForSearch(const QString& text) {
    // Compatibility decomposition also splits forms such as "ﬁ" or "²".
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar ch : decomposed) {
        switch (ch.category()) {
            case QChar::Mark_NonSpacing:
            case QChar::Mark_SpacingCombining:
            case QChar::Mark_Enclosing:
                continue;
            default:
                break;
        }
        // Letters that no decomposition splits.
        switch (ch.unicode()) {
            case 0x0152:  // Œ
            case 0x0153:  // œ
                folded += QLatin1String("oe");
                break;
            case 0x00C6:  // Æ
            case 0x00E6:  // æ
                folded += QLatin1String("ae");
                break;
            case 0x00DF:  // ß
                folded += QLatin1String("ss");
                break;
            default:
                folded += ch;
        }
    }
    return folded.toCaseFolded();
}

bool nameMatchesFilter(const QString& name, const QString& filter) {
    const QString wanted = foldForSearch(filter.trimmed());
    return wanted.isEmpty() || foldForSearch(name).contains(wanted);
}

}  // namespace tolva
