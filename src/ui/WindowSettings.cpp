#include "WindowSettings.h"

#include <QSettings>
#include <QWidget>

namespace tolva {

namespace {

QString sizeKey(const QString& window) {
    return window + QStringLiteral("/size");
}

QString placeKey(const QWidget* window) {
    return window->objectName() + QStringLiteral("/geometry");
}

}  // namespace

QSize rememberedWindowSize(const QString& window) {
    const QSize size = QSettings().value(sizeKey(window)).toSize();
    return size.isValid() && !size.isEmpty() ? size : QSize();
}

void rememberWindowSize(const QString& window, const QSize& size) {
    QSettings().setValue(sizeKey(window), size);
}

bool restoreWindowPlace(QWidget* window) {
    const QByteArray kept = QSettings().value(placeKey(window)).toByteArray();
    return !kept.isEmpty() && window->restoreGeometry(kept);
}

void rememberWindowPlace(const QWidget* window) {
    QSettings().setValue(placeKey(window), window->saveGeometry());
}

}  // namespace tolva
