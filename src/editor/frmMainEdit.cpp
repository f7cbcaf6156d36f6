// Placeholder bodies; the in-place editor is being written.
#include "frmMain.h"

namespace tolva {
void frmMain::showTxtGrd(const QString&) {}
void frmMain::placeTxtGrd() {}
void frmMain::commitTxtGrd(bool& ok) { ok = true; }
bool frmMain::storeCellValue(int, int, const TaggedValue&) { return false; }
void frmMain::EditGridCell(int, int, const QString&) {}
void frmMain::grdData_EnterCell() {}
void frmMain::grdData_KeyPress(QChar) {}
void frmMain::grdData_Enter() {}
void frmMain::grdData_Delete() {}
void frmMain::grdData_DblClick() {}
void frmMain::grdData_Click() {}
void frmMain::grdData_Scroll() {}
void frmMain::txtGrd_Escape() {}
}  // namespace tolva
