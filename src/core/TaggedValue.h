#pragma once

#include <QString>
#include <variant>

namespace tolva {

// A limit value as the option table holds it: nothing, a number, or a text
// read from the database that is not a number. A database null becomes empty.
class TaggedValue {
public:
    TaggedValue() = default;
    static TaggedValue number(double v) { return TaggedValue(Storage(v)); }
    static TaggedValue text(const QString& t) { return TaggedValue(Storage(t)); }

    bool isEmpty() const { return std::holds_alternative<std::monostate>(m_value); }
    bool isNumber() const { return std::holds_alternative<double>(m_value); }
    bool isText() const { return std::holds_alternative<QString>(m_value); }

    double toNumber() const { return isNumber() ? std::get<double>(m_value) : 0.0; }
    QString toTextValue() const { return isText() ? std::get<QString>(m_value) : QString(); }

    // "Equals the empty value": empty, the number 0 or the empty text.
    bool equalsEmptyValue() const;

    // Same kind and same content; a number never equals a text.
    bool operator==(const TaggedValue& o) const { return m_value == o.m_value; }
    bool operator!=(const TaggedValue& o) const { return !(*this == o); }

    // Ordering used by the limit checks: numbers by value; a number is smaller
    // than a text; texts compare as texts. Callers rule out empty values first.
    bool lessThan(const TaggedValue& o) const;

    // Text under the desktop's regional settings (default QLocale): numbers in
    // their standard form (15 significant digits, no grouping), texts unchanged,
    // empty as the empty text.
    QString toDisplayText() const;

private:
    using Storage = std::variant<std::monostate, double, QString>;
    explicit TaggedValue(Storage s) : m_value(std::move(s)) {}
    Storage m_value;
};

}  // namespace tolva
