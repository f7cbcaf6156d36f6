#include "Catalog.h"

#include <QFile>
#include <QHash>
#include <QTextStream>

namespace tolva {

namespace {

QHash<int, QString> loadCatalog() {
    QHash<int, QString> texts;
    QFile file(QStringLiteral(":/catalog_fr.txt"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("message catalog resource missing");
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.startsWith(u'#') || line.isEmpty())
            continue;
        const int tab = int(line.indexOf(u'\t'));
        texts.insert(line.left(tab).toInt(), line.mid(tab + 1));
    }
    return texts;
}

}  // namespace

QString catalogText(int number) {
    static const QHash<int, QString> texts = loadCatalog();
    return texts.value(number);
}

QString catalogHeading(int number) {
    QString text = catalogText(number);
    text.replace(QLatin1String("\\n"), QLatin1String("\r\n"));
    return text;
}

QString withLineBreaks(const QString& text) {
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return shown;
}

}  // namespace tolva
