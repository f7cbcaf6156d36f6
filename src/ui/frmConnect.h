#pragma once

#include <QDialog>

#include "core/SharedState.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tolva {

// The connection dialog: pick an ODBC data source, type user and password,
// and leave only with a connection that works and lists monitors. Created
// afresh for every showing; callers read gConnected once it has closed.
// On success it sets gDsn, gUserId, gPassword, gConnStr, gConnected and
// gMonitors of the state it is given.
class frmConnect : public QDialog {
    Q_OBJECT

public:
    explicit frmConnect(SharedState& state, QWidget* parent = nullptr);

    // The data sources of the machine, "(Aucun)" first, with the NOVRAX
    // preselection; then the saved data source, user and password.
    void FillDsnList();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void placeControls();
    void setTabChain();
    void applyCatalogTexts();
    void prefillInputs();

    void confirmConnection();  // cmdOK
    void cancelConnection();   // cmdCancel

    SharedState& m_state;
    QGroupBox* m_frame = nullptr;
    QLabel* lblMainLabel = nullptr;
    QLabel* lblDSNLabel = nullptr;
    QComboBox* cmbDSN = nullptr;
    QLabel* lblUserLabel = nullptr;
    QLineEdit* txtUser = nullptr;
    QLabel* lblPassLabel = nullptr;
    QLineEdit* txtPWD = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    // The box that the current mouse press has just given the focus to.
    QLineEdit* m_focusedByClick = nullptr;
};

}  // namespace tolva
