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
#include "core/DbConnection.h"
#include "core/DsnList.h"
#include "core/MonitorList.h"
#include "core/SharedState.h"
#include "core/UiPort.h"
#include "ui/Twips.h"

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

const QString kLineBreaks = QStringLiteral("\r\n\r\n");

}  // namespace

frmConnect::frmConnect(QWidget* parent) : QDialog(parent) {
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
    setWindowTitle(catalogText(101));
    lblMainLabel->setText(catalogText(102));
    lblDSNLabel->setText(catalogText(103));
    lblUserLabel->setText(catalogText(104));
    lblPassLabel->setText(catalogText(105));
    cmdOK->setText(catalogText(106));
    cmdCancel->setText(catalogText(107));
}

void frmConnect::FillDsnList() {
    QStringList entries{catalogText(108)};
    entries += ListDataSourceNames();
    cmbDSN->clear();
    cmbDSN->addItems(entries);
    cmbDSN->setCurrentIndex(PreselectDsn(entries, appState().gDsn));
}

void frmConnect::prefillInputs() {
    txtUser->setText(appState().gUserId);
    txtPWD->setText(appState().gPassword);
}

void frmConnect::confirmConnection() {
    if (cmbDSN->currentText() == catalogText(108)) {
        // With nothing to choose from, a bare "choose a data source" helps nobody.
        const QString hint =
            cmbDSN->count() <= 1 ? QStringLiteral("\r\n") + NoDataSourceHint() : QString();
        uiPort().message(catalogText(110) + hint, UiPort::Icon::Critical, windowTitle());
        cmbDSN->setFocus();
        return;
    }

    const QString dsn = cmbDSN->currentText();
    const QString user = txtUser->text();
    const QString password = txtPWD->text();
    const QString connectionString = BuildConnStr(dsn, user, password);
    QString failure;  // stays empty when the monitor list simply holds nothing

    uiPort().setBusyPointer();
    uiPort().processPendingEvents();
    try {
        // The list query below would report a refused login only as "no
        // monitors": open once on its own to get the driver's reason.
        DbConnection probe;
        probe.open(connectionString);
        probe.close();

        if (LoadMonitorList(connectionString)) {
            SharedState& state = appState();
            state.gConnected = true;
            state.gDsn = dsn;
            state.gUserId = user;
            state.gPassword = password;
            state.gConnStr = BuildConnStr(state.gDsn, state.gUserId, state.gPassword);
            uiPort().setNormalPointer();
            accept();
            return;
        }
    } catch (const DbError& error) {
        failure = error.description();
    }
    // The list is read again: the data source may have gone since the dialog opened.
    if (ListDataSourceNames().isEmpty())
        failure += (failure.isEmpty() ? QString() : QStringLiteral("\r\n")) + NoDataSourceHint();
    uiPort().setNormalPointer();
    uiPort().message(catalogText(109) + kLineBreaks + failure, UiPort::Icon::Exclamation,
                     windowTitle());
}

void frmConnect::cancelConnection() {
    appState().gConnected = false;
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
