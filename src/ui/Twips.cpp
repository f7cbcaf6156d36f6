#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace tolva {

static double logicalDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

int twipsToPixels(int twips) {
    return int(std::lround(twips * logicalDpi() / 1440.0));
}

int pixelsToTwips(int pixels) {
    return int(std::lround(pixels * 1440.0 / logicalDpi()));
}

}  // namespace tolva
