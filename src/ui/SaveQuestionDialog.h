#pragma once

#include <QDialog>
#include <QVector>

#include "core/PendingChanges.h"
#include "ui/UiPort.h"

class QLineEdit;

namespace tolva {

// The save question (message 140, question icon, Oui / Non / Annuler) with the
// list of what the save will write, one line per value: characteristic, limit,
// old → new. With a journal, an optional one-line reason. Enter answers Oui,
// also from the reason field; Escape and the close box answer Annuler.
class SaveQuestionDialog : public QDialog {
    Q_OBJECT

public:
    SaveQuestionDialog(const QVector<PendingChange>& changes, bool askReason,
                       QWidget* parent = nullptr);

    UiPort::Answer answer() const { return m_answer; }
    QString reason() const;  // empty without the field

private:
    UiPort::Answer m_answer = UiPort::Answer::Cancel;
    QLineEdit* m_reason = nullptr;
};

}  // namespace tolva
