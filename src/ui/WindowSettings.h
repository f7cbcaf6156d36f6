#pragma once

#include <QSize>
#include <QString>

class QWidget;

namespace tolva {

// Window sizes and places kept between runs, in the desktop's per-user
// settings (QSettings with the names main() sets). Never in MEK_TOLVA.cfg:
// other tools read that file.

// The size `window` had when it last closed; an empty size when none is known.
QSize rememberedWindowSize(const QString& window);
void rememberWindowSize(const QString& window, const QSize& size);

// Size, place and maximised state of a top-level window. Restoring returns
// false when nothing was kept; a place off every screen is brought back.
bool restoreWindowPlace(QWidget* window);
void rememberWindowPlace(const QWidget* window);

}  // namespace tolva
