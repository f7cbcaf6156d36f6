#pragma once

#include <QLoggingCategory>
#include <QString>
#include <QStringList>
#include <functional>

namespace tolva::test {

// Runs an action once, just before the program sends a chosen statement: the
// first one beginning with a text, or the one at an index (counting every
// statement, BEGIN and COMMIT from the trap's creation, from 0), the way
// another editor or a broken link acts between two statements.
class StatementTrap {
public:
    // `statement` false: the start of any trace line ("commit", "begin").
    StatementTrap(const QString& start, std::function<void()> action, bool statement = true)
        : m_start(statement ? "exec " + start : start), m_action(std::move(action)) {
        install();
    }
    StatementTrap(int index, std::function<void()> action)
        : m_index(index), m_action(std::move(action)) {
        install();
    }
    // Keeps the trace alone.
    StatementTrap() : m_action([] {}) { install(); }
    ~StatementTrap() {
        qInstallMessageHandler(nullptr);
        QLoggingCategory::setFilterRules("");
    }
    int fired = 0;
    int seen = 0;       // statements, BEGIN and COMMIT so far
    QStringList trace;  // every line of the program's SQL trace meanwhile

private:
    bool matches(const QString& message) {
        const bool statement = message.startsWith(QLatin1String("exec ")) ||
                               message == QLatin1String("begin") ||
                               message == QLatin1String("commit");
        if (statement)
            ++seen;
        return m_index < 0 ? message.startsWith(m_start) : statement && seen - 1 == m_index;
    }
    void install() {
        s_current = this;
        QLoggingCategory::setFilterRules("tolva.sql.debug=true");
        qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext& context, const QString& message) {
                StatementTrap* t = s_current;
                if (qstrcmp(context.category, "tolva.sql"))
                    return;
                t->trace << message;
                if (t->matches(message) && t->fired++ == 0)
                    t->m_action();
            });
    }

    QString m_start;
    int m_index = -1;
    std::function<void()> m_action;
    static inline StatementTrap* s_current = nullptr;
};

}  // namespace tolva::test
