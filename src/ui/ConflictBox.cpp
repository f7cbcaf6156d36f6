#include "ConflictBox.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/Catalog.h"
#include "core/LimitGroups.h"

namespace tolva {

namespace {

// The group's name: its entry of the view menu, without the accelerator.
QString groupName(OptionGroup group) {
    return catalogText(Msg::ProcEntry + int(group)).remove(u'&');
}

}  // namespace

ConflictBox::ConflictBox(const GroupConflict& conflict, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ConflictBox"));
    setWindowTitle(catalogText(Msg::ConflictTitle));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(
        catalogText(Msg::ConflictText).arg(groupName(conflict.group), conflict.chartName), this);
    text->setObjectName(QStringLiteral("lblConflict"));
    text->setWordWrap(true);
    layout->addWidget(text);

    auto* table = new QTableWidget(3, 3, this);
    table->setObjectName(QStringLiteral("tblConflict"));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setHorizontalHeaderLabels({catalogText(Msg::ConflictAtLoad),
                                      catalogText(Msg::ConflictInDatabase),
                                      catalogText(Msg::ConflictYours)});
    const LimitGroup& group = limitGroup(conflict.group);
    const std::array<TaggedValue, 3>* columns[] = {&conflict.loaded, &conflict.stored,
                                                   &conflict.yours};
    for (int r = 0; r < 3; ++r) {
        table->setVerticalHeaderItem(
            r, new QTableWidgetItem(limitHeadingOnOneLine(group.cells[size_t(r)])));
        for (int c = 0; c < 3; ++c) {
            const TaggedValue& value = (*columns[c])[size_t(r)];
            auto* item = new QTableWidgetItem(value.toDisplayText());
            // A value that differs from the one loaded is what the user must see.
            if (c > 0 && value != conflict.loaded[size_t(r)]) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            table->setItem(r, c, item);
        }
    }
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    layout->addWidget(table);

    m_forTheRest = new QCheckBox(catalogText(Msg::ConflictForTheRest), this);
    m_forTheRest->setObjectName(QStringLiteral("chkForTheRest"));
    layout->addWidget(m_forTheRest);

    auto* buttons = new QHBoxLayout;
    const struct {
        const char* name;
        int text;
        ConflictAnswer::Choice choice;
    } choices[] = {{"cmdOverwrite", Msg::ConflictOverwrite, ConflictAnswer::Overwrite},
                   {"cmdTakeStored", Msg::ConflictTakeStored, ConflictAnswer::TakeStored},
                   {"cmdStop", Msg::ConflictStop, ConflictAnswer::Stop}};
    for (const auto& c : choices) {
        auto* button = new QPushButton(catalogText(c.text), this);
        button->setObjectName(QLatin1String(c.name));
        // Enter never overwrites: only stopping is the default.
        button->setAutoDefault(false);
        button->setDefault(c.choice == ConflictAnswer::Stop);
        const ConflictAnswer::Choice choice = c.choice;
        connect(button, &QPushButton::clicked, this, [this, choice] { choose(choice); });
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    // Closed any other way, the box stops the save.
    m_answer.choice = ConflictAnswer::Stop;
}

void ConflictBox::choose(ConflictAnswer::Choice choice) {
    m_answer.choice = choice;
    m_answer.forTheRest = m_forTheRest->isChecked();
    accept();
}

ConflictAnswer ConflictBox::ask(const GroupConflict& conflict, QWidget* parent) {
    ConflictBox box(conflict, parent);
    if (box.exec() != QDialog::Accepted)
        return ConflictAnswer{};
    return box.answer();
}

}  // namespace tolva
