#pragma once

#include <QLoggingCategory>
#include <QString>
#include <functional>

namespace tolva::test {

// Runs an action just before the program sends a statement that begins with a
// given text, on the program's own connection: the way to make another editor
// (or a database administrator) act between two statements of one operation.
// It listens to the SQL trace, which logs each statement before running it.
class StatementTrap {
public:
    enum class Times { Once, Always };

    StatementTrap(QString statementStart, std::function<void()> action, Times times = Times::Once)
        : m_start(std::move(statementStart)), m_action(std::move(action)), m_times(times) {
        s_current = this;
        QLoggingCategory::setFilterRules(QStringLiteral("tolva.sql.debug=true"));
        m_previous = qInstallMessageHandler(&StatementTrap::handle);
    }
    ~StatementTrap() {
        qInstallMessageHandler(m_previous);
        QLoggingCategory::setFilterRules(QString());
        s_current = nullptr;
    }
    StatementTrap(const StatementTrap&) = delete;
    StatementTrap& operator=(const StatementTrap&) = delete;

    int fired() const { return m_fired; }

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        StatementTrap* trap = s_current;
        if (!trap)
            return;
        if (qstrcmp(context.category, "tolva.sql") != 0) {
            if (trap->m_previous)
                trap->m_previous(type, context, message);
            return;
        }
        static const QString prefix = QStringLiteral("exec ");
        if (trap->m_running || !message.startsWith(prefix) ||
            !message.mid(prefix.size()).startsWith(trap->m_start))
            return;
        if (trap->m_times == Times::Once && trap->m_fired > 0)
            return;
        ++trap->m_fired;
        // The action's own statements pass untouched and unlogged (a message
        // sent from inside a handler would go to the default output).
        trap->m_running = true;
        QLoggingCategory::setFilterRules(QString());
        trap->m_action();
        QLoggingCategory::setFilterRules(QStringLiteral("tolva.sql.debug=true"));
        trap->m_running = false;
    }

    QString m_start;
    std::function<void()> m_action;
    Times m_times;
    int m_fired = 0;
    bool m_running = false;
    QtMessageHandler m_previous = nullptr;
    static inline StatementTrap* s_current = nullptr;
};

}  // namespace tolva::test
