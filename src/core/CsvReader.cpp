#include "CsvReader.h"

#include <QStringDecoder>
#include <array>

namespace tolva {

namespace {

// Windows-1252 bytes 0x80 to 0x9F; its five unassigned bytes keep their own code.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *out++ = QChar(u >= 0x80 && u < 0xA0 ? kCp1252High[u - 0x80] : char16_t(u));
    }
    return text;
}

std::optional<QString> strictly(QStringConverter::Encoding encoding, const QByteArray& bytes) {
    QStringDecoder decoder(encoding);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

}  // namespace

std::optional<QString> decodeCsvBytes(const QByteArray& bytes) {
    std::optional<QString> text;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        text = strictly(QStringConverter::Utf8, bytes);
    else if (bytes.startsWith("\xFF\xFE"))
        text = strictly(QStringConverter::Utf16LE, bytes.mid(2));
    else if (bytes.startsWith("\xFE\xFF"))
        text = strictly(QStringConverter::Utf16BE, bytes.mid(2));
    else if (!(text = strictly(QStringConverter::Utf8, bytes)))
        text = fromWindows1252(bytes);
    if (text && text->contains(QChar(u'\0')))
        return std::nullopt;
    return text;
}

QChar detectCsvSeparator(const QString& text, QChar fallback) {
    int semicolons = 0, tabs = 0, commas = 0;
    bool quoted = false;
    for (const QChar ch : text) {
        if (ch == u'"')
            quoted = !quoted;
        else if (!quoted && (ch == u'\n' || ch == u'\r'))
            break;
        else if (!quoted && ch == u';')
            ++semicolons;
        else if (!quoted && ch == u'\t')
            ++tabs;
        else if (!quoted && ch == u',')
            ++commas;
    }
    if (semicolons + tabs + commas == 0)
        return fallback;
    if (semicolons >= tabs && semicolons >= commas)
        return u';';
    return tabs >= commas ? u'\t' : u',';
}

CsvRecords parseCsv(const QString& text, QChar separator) {
    CsvRecords out;
    QStringList record;
    QString field;
    int line = 1;
    int quoteLine = 0;  // where the open quote started
    bool inQuotes = false;
    bool atFieldStart = true;
    bool recordOpen = false;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar ch = text.at(i);
        if (!recordOpen) {
            out.lines << line;
            recordOpen = true;
        }
        if (inQuotes) {
            if (ch == u'"') {
                if (i + 1 < n && text.at(i + 1) == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                if (ch == u'\n' || (ch == u'\r' && (i + 1 >= n || text.at(i + 1) != u'\n')))
                    ++line;
                field += ch;
            }
            continue;
        }
        if (ch == u'"' && atFieldStart) {
            inQuotes = true;
            atFieldStart = false;
            quoteLine = line;
        } else if (ch == separator) {
            record << field;
            field.clear();
            atFieldStart = true;
        } else if (ch == u'\n' || ch == u'\r') {
            if (ch == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
            ++line;
            record << field;
            out.records << record;
            record.clear();
            field.clear();
            atFieldStart = true;
            recordOpen = false;
        } else {
            field += ch;
            atFieldStart = false;
        }
    }
    if (inQuotes)
        out.unclosedQuoteLine = quoteLine;
    if (recordOpen) {
        record << field;
        out.records << record;
    }
    return out;
}

}  // namespace tolva
