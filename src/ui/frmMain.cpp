// The editor window's frame: controls, menus and toolbar, catalog texts, the
// load sequence, the layout on every size change and the three view toggles.
#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QSessionManager>
#include <QStatusBar>
#include <QToolBar>
#include <cmath>
#include <functional>

#include "MonitorEditor.h"
#include "OptionGrid.h"
#include "OptionTableModel.h"
#include "core/Catalog.h"
#include "core/SharedState.h"
#include "core/ViewState.h"
#include "frmMain.h"
#include "ui/Twips.h"
#include "ui/WindowSettings.h"
#include "ui/frmConnect.h"

namespace tolva {

namespace {

// Window geometry, in twips.
constexpr int kClientWidth = 9375;
constexpr int kClientHeight = 5865;
constexpr int kMinOuterWidth = 3200;
constexpr int kMinOuterHeight = 2565;
constexpr int kTitleShadowOffset = 45;

const char* const kImageKeys[] = {"DSN", "Monitor", "Save", "PC", "noPC", "X", "noX", "R", "noR"};

// The area between toolbar and status bar; it tells the window when its size
// changes, which also happens without the window changing size (toolbar height).
class ClientArea : public QWidget {
public:
    using QWidget::QWidget;
    std::function<void()> onResize;

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (onResize)
            onResize();
    }
};

// Halves go to the even neighbour.
int roundHalfEven(double value) {
    return int(std::nearbyint(value));
}

QFont editorFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(8.25);
    font.setBold(true);
    return font;
}

bool isNormalState(const QWidget* window) {
    return !(window->windowState() &
             (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

}  // namespace

frmMain::frmMain(SharedState& state, QWidget* parent) : QMainWindow(parent), m_state(state) {
    setObjectName(QStringLiteral("frmMain"));
    // The toolbar is not one the user can hide.
    setContextMenuPolicy(Qt::PreventContextMenu);
    for (const char* key : kImageKeys) {
        const QString name = QString::fromLatin1(key);
        ImageList1.insert(name,
                          QIcon(QStringLiteral(":/icons/toolbar-%1.svg").arg(name.toLower())));
    }
    buildControls();
    buildMenusAndToolbar();
    applyMinimumSize();
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        const bool mayAsk = manager.allowsInteraction();
        if (!endSession(mayAsk))
            manager.cancel();
        if (mayAsk)
            manager.release();
    });
}

frmMain::~frmMain() = default;

void frmMain::buildControls() {
    auto* client = new ClientArea(this);
    client->setObjectName(QStringLiteral("clientArea"));
    client->onResize = [this] { layoutControls(); };
    setCentralWidget(client);

    // Created in drawing order: shadow, title, grid over both, editor on top.
    const QFont titleFont(QStringLiteral("Arial"), 36);
    Label2 = new QLabel(client);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(titleFont);
    Label2->setAlignment(Qt::AlignHCenter);
    QPalette shadow = Label2->palette();
    shadow.setColor(QPalette::WindowText, shadow.color(QPalette::Dark));
    Label2->setPalette(shadow);
    Label1 = new QLabel(client);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(titleFont);
    Label1->setAlignment(Qt::AlignHCenter);

    grdData = new OptionGrid(client);
    grdData->setObjectName(QStringLiteral("grdData"));
    m_model = new OptionTableModel(m_state, this);
    m_model->setObjectName(QStringLiteral("grdDataModel"));
    grdData->setModel(m_model);
    m_editor = new MonitorEditor(m_state, *m_model, this);
    // Save is offered while some value differs from what was loaded.
    connect(m_model, &OptionTableModel::valueStored, this, [this](int, int, bool) {
        setSaveEnabled(hasUnsavedChanges());
        m_savedRows = -1;
        m_pastedValues = -1;
        m_leftOutRows = m_leftOutColumns = 0;
        UpdateChangePanel();
    });
    grdData->hide();  // shown by the first fill

    txtGrd = new QLineEdit(client);
    txtGrd->setObjectName(QStringLiteral("txtGrd"));
    txtGrd->setFont(editorFont());
    txtGrd->setFrame(false);
    txtGrd->hide();

    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    m_statusDsn = new QLabel(bar);
    m_statusDsn->setObjectName(QStringLiteral("StatusBar1Panel1"));
    m_statusMonitor = new QLabel(bar);
    m_statusMonitor->setObjectName(QStringLiteral("StatusBar1Panel2"));
    m_statusChanges = new QLabel(bar);
    m_statusChanges->setObjectName(QStringLiteral("StatusBar1Panel3"));
    for (QLabel* panel : {m_statusDsn, m_statusMonitor, m_statusChanges}) {
        panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        panel->setIndent(3);
        // Long names are cut rather than widening the window.
        panel->setMinimumWidth(1);
        panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }
    // The counts take the width their text needs, at any scaling; the names
    // share what is left and are cut first.
    m_statusChanges->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    bar->addWidget(m_statusDsn, 1);
    bar->addWidget(m_statusMonitor, 3);
    bar->addWidget(m_statusChanges, 0);

    // grdData and txtGrd report their keys and focus changes to the window first;
    // keys that reach the window from elsewhere (grid hidden) come by itself.
    grdData->installEventFilter(this);
    txtGrd->installEventFilter(this);
    installEventFilter(this);

    connect(grdData, &OptionGrid::cellEntered, this, [this] { grdData_EnterCell(); });
    connect(grdData, &OptionGrid::characterTyped, this, [this](QChar ch) { grdData_KeyPress(ch); });
    connect(grdData, &OptionGrid::enterPressed, this, [this] { grdData_Enter(); });
    connect(grdData, &OptionGrid::deletePressed, this, [this] { grdData_Delete(); });
    connect(grdData, &OptionGrid::cellDoubleClicked, this, [this] { grdData_DblClick(); });
    connect(grdData, &OptionGrid::gridClicked, this,
            [this](bool onCell) { grdData_Click(onCell); });
    connect(grdData, &OptionGrid::gridScrolled, this, [this] { grdData_Scroll(); });
}

void frmMain::buildMenusAndToolbar() {
    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setIconSize(QSize(16, 16));
    addToolBar(Qt::TopToolBarArea, Toolbar1);

    struct Button {
        const char* key;  // nullptr: separator
        const char* image;
    };
    const Button buttons[] = {{"DSN", "DSN"},   {"Monitor", "Monitor"}, {nullptr, nullptr},
                              {"Save", "Save"}, {nullptr, nullptr},     {"PC", "PC"},
                              {"IND", "X"},     {"MR", "noR"}};
    for (const Button& b : buttons) {
        if (!b.key) {
            Toolbar1->addSeparator();
            continue;
        }
        const QString key = QString::fromLatin1(b.key);
        auto* action = new QAction(Toolbar1);
        action->setObjectName(key);
        connect(action, &QAction::triggered, this, [this, key] { toolbarButtonClicked(key); });
        Toolbar1->addAction(action);
        m_buttons.insert(key, action);
        setButtonImage(key, QString::fromLatin1(b.image));
    }
    // Nothing to save before the first change, as the menu entry after a load.
    m_buttons.value(QStringLiteral("Save"))->setEnabled(false);

    auto addEntry = [this](QMenu* menu, const char* name, QKeySequence shortcut,
                           void (frmMain::*handler)()) {
        QAction* action = menu->addAction(QString());
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto addSeparator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };

    mnuOpt = menuBar()->addMenu(QString());
    mnuOpt->setObjectName(QStringLiteral("mnuOpt"));
    mnuDSN = addEntry(mnuOpt, "mnuDSN", QKeySequence(Qt::CTRL | Qt::Key_D), &frmMain::mnuDSN_Click);
    mnuMonitor = addEntry(mnuOpt, "mnuMonitor", QKeySequence(Qt::CTRL | Qt::Key_M),
                          &frmMain::mnuMonitor_Click);
    addSeparator(mnuOpt, "mnuHyphen3");
    mnuCommit = addEntry(mnuOpt, "mnuCommit", QKeySequence(Qt::CTRL | Qt::Key_S),
                         &frmMain::mnuCommit_Click);
    addSeparator(mnuOpt, "mnuHyphen2");
    mnuExport = addEntry(mnuOpt, "mnuExport", QKeySequence(), &frmMain::mnuExport_Click);
    mnuImport = addEntry(mnuOpt, "mnuImport", QKeySequence(), &frmMain::mnuImport_Click);
    mnuHistory = addEntry(mnuOpt, "mnuHistory", QKeySequence(), &frmMain::mnuHistory_Click);
    buildHistoryEntries();
    addSeparator(mnuOpt, "mnuHyphenExport");
    mnuExit =
        addEntry(mnuOpt, "mnuExit", QKeySequence(Qt::CTRL | Qt::Key_X), &frmMain::mnuExit_Click);

    buildEditMenu();

    mnuView = menuBar()->addMenu(QString());
    mnuView->setObjectName(QStringLiteral("mnuView"));
    mnuProc =
        addEntry(mnuView, "mnuProc", QKeySequence(Qt::CTRL | Qt::Key_P), &frmMain::mnuProc_Click);
    mnuX = addEntry(mnuView, "mnuX", QKeySequence(Qt::CTRL | Qt::Key_I), &frmMain::mnuX_Click);
    mnuR = addEntry(mnuView, "mnuR", QKeySequence(Qt::CTRL | Qt::Key_R), &frmMain::mnuR_Click);
    for (QAction* entry : {mnuProc, mnuX, mnuR})
        entry->setCheckable(true);
    mnuProc->setChecked(m_state.gShowProc);
    mnuX->setChecked(m_state.gShowX);
    mnuR->setChecked(m_state.gShowR);
}

void frmMain::setButtonImage(const QString& key, const QString& image) {
    QAction* button = m_buttons.value(key);
    if (!button)
        return;
    button->setIcon(ImageList1.value(image));
    button->setProperty("imageKey", image);
}

void frmMain::ApplyCatalogTexts() {
    setWindowTitle(catalogText(Msg::EditorTitle));
    mnuOpt->setTitle(catalogText(Msg::OptionsMenu));
    mnuDSN->setText(catalogText(Msg::ChangeDsnEntry));
    mnuMonitor->setText(catalogText(Msg::ChangeMonitorEntry));
    mnuCommit->setText(catalogText(Msg::SaveEntry));
    mnuExit->setText(catalogText(Msg::ExitEntry));
    mnuExport->setText(catalogText(Msg::ExportEntry));
    mnuImport->setText(catalogText(Msg::ImportEntry));
    mnuHistory->setText(catalogText(Msg::HistoryEntry));
    mnuView->setTitle(catalogText(Msg::ViewMenu));
    mnuProc->setText(catalogText(Msg::ProcEntry));
    mnuX->setText(catalogText(Msg::XEntry));
    mnuR->setText(catalogText(Msg::REntry));
    const std::pair<const char*, int> tips[] = {
        {"DSN", Msg::ChangeDsnTip}, {"Monitor", Msg::ChangeMonitorTip},
        {"Save", Msg::SaveTip},     {"PC", Msg::ProcTip},
        {"IND", Msg::XTip},         {"MR", Msg::RTip}};
    for (const auto& [key, number] : tips) {
        QAction* button = m_buttons.value(QString::fromLatin1(key));
        button->setText(catalogText(number));
        button->setToolTip(catalogText(number));
    }
}

void frmMain::load() {
    ApplyCatalogTexts();
    const QString title =
        withLineBreaks(QStringLiteral("NOVRAX\r\n") + catalogText(Msg::EditorTitle));
    Label1->setText(title);
    Label2->setText(title);
    show();

    {
        frmConnect dialog(m_state, this);
        dialog.exec();
    }
    if (m_state.gConnected && pickMonitor())
        return;
    // Without a connection or a monitor there is nothing to edit: the usual
    // close handling runs (settings written) and the program ends.
    close();
    m_closedForGood = true;
}

bool frmMain::hasUnsavedChanges() const {
    return m_editor->hasUnsavedChanges();
}

void frmMain::optionsLoaded() {
    mnuCommit->setEnabled(false);
    // The history applies to the values of the last load only.
    m_editor->clearHistory();
    m_pastedValues = -1;
    m_leftOutRows = m_leftOutColumns = 0;
}

void frmMain::revealGroup(OptionGroup group) {
    switch (group) {
        case OptionGroup::Spec:
            toggleProc();
            break;
        case OptionGroup::X:
            toggleX();
            break;
        case OptionGroup::R:
            toggleR();
            break;
    }
}

void frmMain::showViewSwitches() {
    const bool showProc = m_state.gShowProc, showX = m_state.gShowX, showR = m_state.gShowR;
    setButtonImage(QStringLiteral("MR"), QLatin1String(showR ? "R" : "noR"));
    mnuProc->setChecked(showProc);
    setButtonImage(QStringLiteral("PC"), QLatin1String(showProc ? "PC" : "noPC"));
    mnuX->setChecked(showX);
    setButtonImage(QStringLiteral("IND"), QLatin1String(showX ? "X" : "noX"));
    mnuR->setChecked(showR);
}

void frmMain::applyViewState() {
    m_layout = ApplyViewState(m_state);
    showViewSwitches();
}

void frmMain::setSaveEnabled(bool on) {
    mnuCommit->setEnabled(on);
    if (QAction* save = m_buttons.value(QStringLiteral("Save")))
        save->setEnabled(on);
}

void frmMain::toggleGroup(bool& showSwitch) {
    if (!commitOpenEdit())
        return;
    showSwitch = !showSwitch;
    FillGrid();
}

void frmMain::toggleProc() {
    toggleGroup(m_state.gShowProc);
}

void frmMain::toggleX() {
    toggleGroup(m_state.gShowX);
}

void frmMain::toggleR() {
    toggleGroup(m_state.gShowR);
}

void frmMain::mnuProc_Click() {
    toggleProc();
    // The entry ticks itself when chosen; a refused toggle must not leave it so.
    mnuProc->setChecked(m_state.gShowProc);
}

void frmMain::mnuX_Click() {
    toggleX();
    mnuX->setChecked(m_state.gShowX);
}

void frmMain::mnuR_Click() {
    toggleR();
    mnuR->setChecked(m_state.gShowR);
}

void frmMain::applyMinimumSize() {
    // The smallest outer size, frame included; the desktop then keeps the user
    // from dragging the window smaller, so it never has to snap back.
    const QSize frame = frameGeometry().size() - size();
    setMinimumSize(qMax(1, twipsToPixels(kMinOuterWidth) - frame.width()),
                   qMax(1, twipsToPixels(kMinOuterHeight) - frame.height()));
}

void frmMain::showEvent(QShowEvent* event) {
    if (!m_placed) {
        // Opening size and place, once the menu bar carries its captions.
        m_placed = true;
        const QWidget* menu = menuWidget();
        resize(twipsToPixels(kClientWidth),
               twipsToPixels(kClientHeight) + (menu ? menu->sizeHint().height() : 0));
        if (const QScreen* desktop = screen())
            move(desktop->availableGeometry().center() - rect().center());
        restoreWindowPlace(this);  // where the user left it last time, if known
    }
    QMainWindow::showEvent(event);
    applyMinimumSize();  // the frame is known once the window is on screen
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (isMinimized() || m_inResize)
        return;
    applyMinimumSize();  // the desktop may tell the frame's size only now
    // Also for a size the desktop forced past the minimum: snap back once.
    const QSize outer = frameGeometry().size();
    const int missingHeight = twipsToPixels(kMinOuterHeight) - outer.height();
    const int missingWidth = twipsToPixels(kMinOuterWidth) - outer.width();
    if ((missingHeight > 0 || missingWidth > 0) && isNormalState(this)) {
        m_inResize = true;
        resize(width() + qMax(0, missingWidth), height() + qMax(0, missingHeight));
        m_inResize = false;
    }
    layoutControls();
}

void frmMain::layoutControls() {
    QWidget* client = centralWidget();
    if (!client || !grdData)
        return;
    // The grid fills the space between toolbar and status bar.
    grdData->setGeometry(0, 0, client->width(), client->height());

    // The title is centred in the window's whole client area (below the menu
    // bar), toolbar and status bar included.
    Label1->adjustSize();
    Label2->resize(Label1->size());
    const QWidget* menu = menuWidget();
    const int clientTop = menu && menu->isVisible() ? menu->geometry().bottom() + 1 : 0;
    const int clientHeight = height() - clientTop;
    const int x = roundHalfEven((width() - Label1->width()) / 2.0);
    const int y = roundHalfEven((clientHeight - Label1->height()) / 2.0) + clientTop - client->y();
    const int offset = twipsToPixels(kTitleShadowOffset);
    Label1->move(x, y);
    Label2->move(x + offset, y + offset);
    Label1->show();
    Label2->show();

    if (txtGrd->isVisible())
        placeTxtGrd();
}

}  // namespace tolva
