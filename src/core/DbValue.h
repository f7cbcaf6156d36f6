#pragma once

#include <QString>
#include <QVariant>
#include <stdexcept>

class QSqlError;

namespace tolva {

// A database failure, carrying the driver's own description (the text a user
// can act on: "Data source name not found", "permission denied for table ...").
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& description);
    explicit DbError(const QSqlError& error);
    // The program gave up waiting for the server: whatever was sent may or may
    // not have taken effect.
    static DbError unanswered(const QString& description);
    const QString& description() const { return m_description; }
    bool isUnanswered() const { return m_unanswered; }

private:
    QString m_description;
    bool m_unanswered = false;
};

// One field of a result row; null for a database null.
class FieldValue {
public:
    FieldValue() = default;
    explicit FieldValue(QVariant value) : m_value(std::move(value)), m_null(false) {}

    bool isNull() const { return m_null; }
    const QVariant& variant() const { return m_value; }
    // Whole number in 32 bits; throws DbError for null, text or out of range.
    qint32 toInt32() const;
    // The value as text (empty for null).
    QString toText() const;
    // Numeric comparison, false for null or non-numbers.
    bool equalsNumber(double number) const;

private:
    QVariant m_value;
    bool m_null = true;
};

}  // namespace tolva
