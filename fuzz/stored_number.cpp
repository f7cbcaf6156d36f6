// Reading a stored value under various desktops: the first byte picks the
// regional settings, the rest is the text. A number read is finite, its
// database form is ASCII, reads back and is stable after one trip.
#include <QLocale>
#include <cmath>
#include <cstdint>

#include "FuzzCheck.h"
#include "core/NumberText.h"
#include "core/clsLoc.h"

using namespace tolva;

namespace {

void checkStoredForm(double value) {
    FUZZ_CHECK(std::isfinite(value));
    const clsLoc loc;
    const QString stored = loc.US_Format(value);
    for (const QChar c : stored)
        FUZZ_CHECK(c.unicode() < 128);
    const auto back = readStoredNumber(stored);
    FUZZ_CHECK(back.has_value());
    FUZZ_CHECK(loc.US_Format(*back) == stored);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* const desktops[] = {"C",     "fr_FR", "en_US", "sv_SE",
                                           "ar_EG", "de_CH", "fa_IR", "hi_IN"};
    if (size == 0)
        return 0;
    QLocale::setDefault(QLocale(QLatin1String(desktops[data[0] % std::size(desktops)])));
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    if (const auto read = readStoredNumber(text))
        checkStoredForm(*read);
    // What the editor accepts as typed reaches the database readable too.
    if (const auto typed = parseRegionalNumber(text))
        checkStoredForm(*typed);
    return 0;
}
