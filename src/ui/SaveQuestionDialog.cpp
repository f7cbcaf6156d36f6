#include "SaveQuestionDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/Catalog.h"
#include "core/JournalHistory.h"

namespace tolva {

namespace {

// Enough lines to take in a few changes at once; more scroll.
constexpr int kVisibleLines = 12;

}  // namespace

SaveQuestionDialog::SaveQuestionDialog(const QVector<PendingChange>& changes, bool askReason,
                                       QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmSaveQuestion"));
    setWindowTitle(catalogText(Msg::EditorTitle));
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    auto* icon = new QLabel(this);
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(side, side));
    icon->setAlignment(Qt::AlignTop);
    top->addWidget(icon);
    auto* question = new QLabel(catalogText(Msg::SaveQuestion), this);
    question->setObjectName(QStringLiteral("lblSaveQuestion"));
    top->addWidget(question, 1);
    layout->addLayout(top);

    auto* list = new QTreeWidget(this);
    list->setObjectName(QStringLiteral("lstSaveChanges"));
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAlternatingRowColors(true);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::NoFocus);
    list->setHeaderLabels({catalogText(Msg::CharacteristicHeading),
                           catalogText(Msg::HistoryLimitHeading),
                           catalogText(Msg::HistoryChangeHeading)});
    QList<QTreeWidgetItem*> items;
    for (const PendingChange& c : changes)
        items << new QTreeWidgetItem(
            {c.characteristic, c.limit,
             changeText(c.before.toDisplayText(), c.after.toDisplayText())});
    list->addTopLevelItems(items);
    for (int column = 0; column < 3; ++column)
        list->resizeColumnToContents(column);
    const int lineHeight =
        list->sizeHintForRow(0) > 0 ? list->sizeHintForRow(0) : fontMetrics().height() + 4;
    list->setMinimumHeight(list->header()->sizeHint().height() + 2 * list->frameWidth() +
                           lineHeight * qMin(qMax(int(changes.size()), 1), kVisibleLines));
    layout->addWidget(list, 1);
    if (changes.size() > kVisibleLines) {
        auto* count = new QLabel(catalogText(Msg::HistoryRowCount).arg(changes.size()), this);
        count->setObjectName(QStringLiteral("lblSaveChangeCount"));
        layout->addWidget(count);
    }

    if (askReason) {
        auto* label = new QLabel(catalogText(Msg::ReasonLabel), this);
        m_reason = new QLineEdit(this);
        m_reason->setObjectName(QStringLiteral("txtReason"));
        m_reason->setMaxLength(255);  // the journal's REASON column
        label->setBuddy(m_reason);
        layout->addWidget(label);
        layout->addWidget(m_reason);
    }

    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Cancel, this);
    QPushButton* yes = buttons->button(QDialogButtonBox::Yes);
    yes->setDefault(true);  // Enter, wherever the focus is
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::clicked, this, [this, buttons](QAbstractButton* b) {
        switch (buttons->standardButton(b)) {
            case QDialogButtonBox::Yes:
                m_answer = UiPort::Answer::Yes;
                accept();
                break;
            case QDialogButtonBox::No:
                m_answer = UiPort::Answer::No;
                accept();
                break;
            default:
                reject();
                break;
        }
    });
    connect(this, &QDialog::rejected, this, [this] { m_answer = UiPort::Answer::Cancel; });
    if (m_reason)
        m_reason->setFocus();
    else
        yes->setFocus();
    resize(qMax(sizeHint().width(), 520), sizeHint().height());
}

QString SaveQuestionDialog::reason() const {
    return m_reason ? m_reason->text() : QString();
}

}  // namespace tolva
