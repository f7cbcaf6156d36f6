#include "modCfg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringConverter>
#include <optional>

#include "core/NumberText.h"
#include "core/SharedState.h"
#include "core/Version.h"

namespace tolva {

namespace {

const QString kFileName = QStringLiteral("MEK_TOLVA.cfg");
const QString kKeyDsn = QStringLiteral("DSN");
const QString kKeyUid = QStringLiteral("UID");
const QString kKeyProc = QStringLiteral("PROCESS CAPABILITY");
const QString kKeyX = QStringLiteral("AVERAGE/INDIVIDUAL CHART");
const QString kKeyR = QStringLiteral("VARIABILITY CHART");
const QString kKeyMonitor = QStringLiteral("MONITOR");
const QString kLineEnd = QStringLiteral("\r\n");

// Only the space character counts: tabs and other blanks stay part of the line.
QString trimSpaces(const QString& line) {
    qsizetype first = 0;
    qsizetype last = line.size();
    while (first < last && line[first] == u' ')
        ++first;
    while (last > first && line[last - 1] == u' ')
        --last;
    return line.mid(first, last - first);
}

// "True"/"False" in any letter case, or a number (0 is false).
std::optional<bool> toSwitch(const QString& value) {
    if (value.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (value.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    if (const auto number = parseRegionalNumber(value))
        return *number != 0.0;
    return std::nullopt;
}

// A whole number that fits 32 bits; blanks around it are allowed.
std::optional<qint32> toMonitorNumber(const QString& part) {
    bool ok = false;
    const qint32 number = part.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return number;
}

QString switchText(bool on) {
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

// Lines end with CR LF; files edited elsewhere may end them with LF alone.
QStringList splitLines(const QString& text) {
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// One line of the file into the shared state. False when its value does not
// convert, which ends the reading.
bool applyLine(SharedState& s, const QString& rawLine, int& monitorLines) {
    const QString line = trimSpaces(rawLine);
    if (line.isEmpty())
        return true;
    const QStringList parts = line.split(u'=');
    if (parts.size() < 2)
        return true;
    const QString key = parts.at(0).toUpper();
    const QString& value = parts.at(1);

    if (key == kKeyDsn) {
        s.gDsn = value;
    } else if (key == kKeyUid) {
        s.gUserId = value;
    } else if (key == kKeyProc || key == kKeyX || key == kKeyR) {
        const auto on = toSwitch(value);
        if (!on)
            return false;
        bool& target = key == kKeyProc ? s.gShowProc : key == kKeyX ? s.gShowX : s.gShowR;
        target = *on;
    } else if (key == kKeyMonitor) {
        const QStringList fields = value.split(u';');
        if (fields.size() != 2)
            return true;
        // Converted before anything changes, so a bad line leaves no half entry.
        const auto monId = toMonitorNumber(fields.at(1));
        if (!monId)
            return false;
        s.gLastMonitors.resize(monitorLines + 1);
        s.gLastMonitors[monitorLines] = DsnMonitor{fields.at(0), *monId};
        ++monitorLines;
    }
    return true;
}

}  // namespace

SettingsLocation settingsLocation(const QString& appPath, bool appFolderWritable,
                                  const QString& userFile) {
    if (appPath.isEmpty())
        return {userFile, userFile};
    const QString besideProgram = appPath + kFileName;
    if (appFolderWritable)
        return {besideProgram, besideProgram};
    // A program installed where users cannot write keeps its settings per user;
    // until a user has some, those an administrator put beside the program count.
    return {QFileInfo::exists(userFile) ? userFile : besideProgram, userFile};
}

namespace {

SettingsLocation currentSettingsLocation(const QString& appPath) {
    const QFileInfo folder(appPath);
    // An installed program shares its folder with others (root may write
    // there): its menu entry beside it says so.
    const bool installed =
        !appPath.isEmpty() && QFileInfo::exists(appPath + QStringLiteral("../share/applications/") +
                                                QLatin1String(kAppId) + QStringLiteral(".desktop"));
    const bool writable = !appPath.isEmpty() && folder.isDir() && folder.isWritable() && !installed;
    return settingsLocation(
        appPath, writable,
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + u'/' + kFileName);
}

// The encoding the file was read in is written back the same: a file from a
// machine with an 8-bit code page must not come back with its names destroyed.
QString decodeSettings(const QByteArray& bytes, QByteArray& encoding) {
    encoding.clear();
    QStringDecoder system(QStringConverter::System);
    const QString text = system(bytes);
    if (!system.hasError())
        return text;
    // Not valid in the system encoding (UTF-8 here): the Windows code page when
    // Qt has it, else Latin-1, both of which take every byte.
    QStringDecoder windows("windows-1252");
    if (windows.isValid()) {
        const QString ansi = windows(bytes);
        if (!windows.hasError()) {
            encoding = "windows-1252";
            return ansi;
        }
    }
    encoding = "ISO-8859-1";
    return QString::fromLatin1(bytes);
}

QByteArray encodeSettings(const QString& text, const QByteArray& encoding) {
    if (!encoding.isEmpty()) {
        QStringEncoder same(encoding.constData());
        const QByteArray bytes = same(text);
        if (same.isValid() && !same.hasError())
            return bytes;
        // A name that code page cannot hold: better UTF-8 than a "?" in it.
    }
    QStringEncoder system(QStringConverter::System);
    return system(text);
}

}  // namespace

QString SettingsFilePath(const SharedState& s) {
    return currentSettingsLocation(s.gAppPath).write;
}

bool ReadSettings(SharedState& s) {
    QFile file(currentSettingsLocation(s.gAppPath).read);
    s.gSettingsEncoding.clear();
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    file.close();
    return ReadSettingsBytes(s, bytes);
}

bool ReadSettingsBytes(SharedState& s, const QByteArray& bytes) {
    const QString text = decodeSettings(bytes, s.gSettingsEncoding);
    int monitorLines = 0;
    for (const QString& line : splitLines(text)) {
        if (!applyLine(s, line, monitorLines))
            return false;
    }
    return true;
}

bool WriteSettings(const SharedState& s) {
    QString text;
    text += kKeyDsn + u'=' + s.gDsn + kLineEnd;
    text += kKeyUid + u'=' + s.gUserId + kLineEnd;
    text += kKeyProc + u'=' + switchText(s.gShowProc) + kLineEnd;
    text += kKeyX + u'=' + switchText(s.gShowX) + kLineEnd;
    text += kKeyR + u'=' + switchText(s.gShowR) + kLineEnd;
    for (const DsnMonitor& entry : s.gLastMonitors) {
        if (entry.Dsn.isEmpty())
            continue;
        text += kKeyMonitor + u'=' + entry.Dsn + u';' + QString::number(entry.MonId) + kLineEnd;
    }

    const QString path = SettingsFilePath(s);
    QDir().mkpath(QFileInfo(path).absolutePath());
    // The old file is replaced only once the new one is complete: a write that
    // fails half-way (disk full) must not cost the user every setting.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = encodeSettings(text, s.gSettingsEncoding);
    // commit() does not see a flush that wrote only part of the data (a full
    // disk), so the data is flushed and checked here first.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        file.commit();  // discards the temporary copy
        return false;
    }
    return file.commit();
}

void RememberMonitor(SharedState& s) {
    if (!s.hasCurrentMonitor())
        return;
    const qint32 monId = s.currentMonitor().MonId;
    for (DsnMonitor& entry : s.gLastMonitors) {
        if (entry.Dsn == s.gDsn) {
            entry.MonId = monId;
            return;
        }
    }
    // The start-up entry is empty: fill it before the list grows.
    if (s.gLastMonitors.isEmpty() || !s.gLastMonitors.last().Dsn.isEmpty())
        s.gLastMonitors.append(DsnMonitor{});
    s.gLastMonitors.last() = DsnMonitor{s.gDsn, monId};
}

}  // namespace tolva
