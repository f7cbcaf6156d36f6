#include "StoreOutcome.h"

namespace tolva {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
}

QString StoreOutcome::text() const {
    QString head;
    switch (message) {
        case 0:
            break;
        case Msg::ValueSetError:
            // The message ends with a blank: "... Paramétrage 'Name' de la Valeur : 'text'".
            head = catalogText(Msg::ValueSetError) + QStringLiteral(" '") + arguments.value(0) +
                   QStringLiteral("' ") + catalogText(Msg::OfTheValue) + QStringLiteral(" '") +
                   arguments.value(1) + u'\'';
            break;
        case Msg::ValueDeleteError:
            head = catalogText(Msg::ValueDeleteError) + u' ' + arguments.value(0);
            break;
        default:
            head = catalogText(message);
            for (const QString& argument : arguments)
                head = head.arg(argument);
            break;
    }
    QString text = head;
    if (withDriverText && message == 0)
        // Some drivers describe a lost link with nothing: the box still says something.
        text = driverText.isEmpty() ? catalogText(Msg::OdbcErrorWithoutText) : driverText;
    else if (withDriverText)
        text = head + kCrLf + kCrLf + driverText;
    if (savedCharacteristics >= 0)
        text += kCrLf + catalogText(Msg::SavedBeforeError).arg(savedCharacteristics);
    if (commitUnanswered)
        text += kCrLf + catalogText(Msg::CommitUnanswered);
    return text;
}

}  // namespace tolva
