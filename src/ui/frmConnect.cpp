#include "frmConnect.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>

#include "core/Catalog.h"
#include "core/ConnectionString.h"
#include "core/DsnList.h"
#include "core/MonitorList.h"
#include "core/SharedState.h"
#include "ui/BusyPointer.h"
#include "ui/Twips.h"
#include "ui/UiPort.h"

namespace tolva {

namespace {

// Shows every password character as "*" whatever the desktop's own mask is.
class StarPasswordStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter)
            return u'*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

void placeInTwips(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                        twipsToPixels(height));
}

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

}  // namespace

frmConnect::frmConnect(SharedState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("frmConnect"));
    setModal(true);
    createControls();
    placeControls();
    setTabChain();
    applyCatalogTexts();
    FillDsnList();
    prefillInputs();
}

void frmConnect::createControls() {
    m_frame = named(new QGroupBox(this), "fraConnection");
    lblMainLabel = named(new QLabel(m_frame), "lblMainLabel");
    lblDSNLabel = named(new QLabel(m_frame), "lblDSNLabel");
    cmbDSN = named(new QComboBox(m_frame), "cmbDSN");
    lblUserLabel = named(new QLabel(m_frame), "lblUserLabel");
    txtUser = named(new QLineEdit(m_frame), "txtUser");
    lblPassLabel = named(new QLabel(m_frame), "lblPassLabel");
    txtPWD = named(new QLineEdit(m_frame), "txtPWD");
    cmdOK = named(new QPushButton(this), "cmdOK");
    cmdCancel = named(new QPushButton(this), "cmdCancel");

    QFont bold = lblMainLabel->font();
    bold.setBold(true);
    lblMainLabel->setFont(bold);
    lblMainLabel->setAlignment(Qt::AlignCenter);
    lblMainLabel->setWordWrap(true);
    for (QLabel* label : {lblDSNLabel, lblUserLabel, lblPassLabel})
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblDSNLabel->setBuddy(cmbDSN);
    lblUserLabel->setBuddy(txtUser);
    lblPassLabel->setBuddy(txtPWD);

    auto* starStyle = new StarPasswordStyle;
    starStyle->setParent(txtPWD);
    txtPWD->setStyle(starStyle);
    txtPWD->setEchoMode(QLineEdit::Password);
    for (QLineEdit* box : {txtUser, txtPWD})
        box->installEventFilter(this);

    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmConnect::confirmConnection);
    connect(cmdCancel, &QPushButton::clicked, this, &frmConnect::cancelConnection);
}

void frmConnect::placeControls() {
    setFixedSize(twipsToPixels(5280), twipsToPixels(3240));
    placeInTwips(m_frame, 120, 0, 5055, 2655);
    placeInTwips(lblMainLabel, 120, 300, 4815, 615);
    placeInTwips(lblDSNLabel, 150, 1125, 2175, 255);
    placeInTwips(cmbDSN, 2400, 1080, 2295, 315);
    placeInTwips(lblUserLabel, 120, 1695, 2175, 255);
    placeInTwips(txtUser, 2400, 1695, 2295, 285);
    placeInTwips(lblPassLabel, 240, 2040, 2055, 255);
    placeInTwips(txtPWD, 2400, 2040, 2295, 285);
    placeInTwips(cmdOK, 2880, 2800, 1100, 350);
    placeInTwips(cmdCancel, 4080, 2800, 1100, 350);
}

void frmConnect::setTabChain() {
    setTabOrder(cmbDSN, txtUser);
    setTabOrder(txtUser, txtPWD);
    setTabOrder(txtPWD, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    cmbDSN->setFocus();
}

void frmConnect::applyCatalogTexts() {
    setWindowTitle(catalogText(Msg::ConnectTitle));
    lblMainLabel->setText(catalogText(Msg::ConnectPrompt));
    lblDSNLabel->setText(catalogText(Msg::DsnLabel));
    lblUserLabel->setText(catalogText(Msg::UserLabel));
    lblPassLabel->setText(catalogText(Msg::PasswordLabel));
    cmdOK->setText(catalogText(Msg::Ok));
    cmdCancel->setText(catalogText(Msg::Cancel));
}

void frmConnect::FillDsnList() {
    QStringList entries{catalogText(Msg::NoDataSource)};
    entries += ListDataSourceNames();
    cmbDSN->clear();
    cmbDSN->addItems(entries);
    cmbDSN->setCurrentIndex(PreselectDsn(entries, m_state.gDsn));
}

void frmConnect::prefillInputs() {
    txtUser->setText(m_state.gUserId);
    txtPWD->setText(m_state.gPassword);
}

void frmConnect::confirmConnection() {
    if (cmbDSN->currentText() == catalogText(Msg::NoDataSource)) {
        // With nothing to choose from, a bare "choose a data source" helps nobody.
        const QString hint = cmbDSN->count() <= 1
                                 ? QStringLiteral("\r\n") + catalogText(Msg::NoDataSourceHelp)
                                 : QString();
        uiPort().message(catalogText(Msg::ChooseDataSource) + hint, UiPort::Icon::Critical,
                         windowTitle());
        cmbDSN->setFocus();
        return;
    }

    const QString dsn = cmbDSN->currentText();
    const QString user = txtUser->text();
    const QString password = txtPWD->text();
    const QString connectionString = BuildConnStr(dsn, user, password);

    BusyPointer busy;
    const StoreOutcome outcome = CheckDataSource(m_state, connectionString);
    busy.release();
    if (!outcome.ok()) {
        QString text = outcome.text();
        // The list is read again: the data source may have gone since the dialog opened.
        if (ListDataSourceNames().isEmpty()) {
            if (!outcome.driverText.isEmpty())
                text += QStringLiteral("\r\n");
            text += catalogText(Msg::NoDataSourceHelp);
        }
        uiPort().message(text, UiPort::Icon::Exclamation, windowTitle());
        return;
    }
    m_state.gConnected = true;
    m_state.gDsn = dsn;
    m_state.gUserId = user;
    m_state.gPassword = password;
    m_state.gConnStr = BuildConnStr(m_state.gDsn, m_state.gUserId, m_state.gPassword);
    accept();
}

void frmConnect::cancelConnection() {
    m_state.gConnected = false;
    reject();
}

bool frmConnect::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && (box == txtUser || box == txtPWD)) {
        switch (event->type()) {
            case QEvent::FocusIn:
                box->selectAll();
                m_focusedByClick =
                    static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason ? box
                                                                                       : nullptr;
                break;
            case QEvent::MouseButtonPress:
                // The click that brought the focus in must not place the cursor:
                // the whole text stays selected, so typing replaces it.
                if (m_focusedByClick == box) {
                    m_focusedByClick = nullptr;
                    return true;
                }
                break;
            case QEvent::FocusOut:
                m_focusedByClick = nullptr;
                break;
            default:
                break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmConnect::keyPressEvent(QKeyEvent* event) {
    // Escape works as the Cancel button, not as a bare close.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdCancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace tolva
