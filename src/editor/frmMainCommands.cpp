// Placeholder bodies; the commands are being written.
#include "frmMain.h"

#include <QCloseEvent>

namespace tolva {
void frmMain::confirmSave(bool& ok) { ok = true; }
void frmMain::changeMonitor() {}
void frmMain::changeDSN() {}
void frmMain::mnuCommit_Click() {}
void frmMain::mnuDSN_Click() {}
void frmMain::mnuMonitor_Click() {}
void frmMain::mnuExit_Click() {}
void frmMain::toolbarButtonClicked(const QString&) {}
void frmMain::Form_KeyDown_F1() {}
bool frmMain::Form_QueryUnload() { return true; }
void frmMain::closeEvent(QCloseEvent* e) { e->accept(); }
}  // namespace tolva
