#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace tolva {

// A CSV file's bytes as text: UTF-8 (with or without byte-order mark), UTF-16
// with its mark, otherwise Windows-1252 (what spreadsheets on Windows write).
// Empty when the bytes are no text: a UTF mark over bytes that break it, or NUL
// characters (a binary file, UTF-16 without its mark).
std::optional<QString> decodeCsvBytes(const QByteArray& bytes);

// The field separator the first line uses: the most frequent of ";", tab and ","
// outside quotes (";" on a tie); `fallback` when it has none of them.
QChar detectCsvSeparator(const QString& text, QChar fallback);

// The records of a CSV text. Quoted fields may hold the separator, doubled
// quotes and line breaks; lines end with CR LF, LF or CR; a line break at the
// very end starts no record.
struct CsvRecords {
    QVector<QStringList> records;
    QVector<int> lines;         // file line (from 1) where each record starts
    int unclosedQuoteLine = 0;  // line of a quote never closed; 0: none
};
CsvRecords parseCsv(const QString& text, QChar separator);

}  // namespace tolva
