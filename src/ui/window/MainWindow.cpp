#include "ui/window/MainWindow.h"

#include "core/compare/DiffRun.h"
#include "core/compare/FolderDiffRun.h"
#include "core/files/ProgramFiles.h"
#include "core/files/ProgramFolder.h"
#include "core/print/PrintRun.h"
#include "core/run/OfficeCount.h"
#include "core/run/ReadyOfficeFactory.h"
#include "core/run/ResponsiveHostFactory.h"
#include "core/search/SearchRun.h"
#include "core/settings/SettingsFile.h"
#include "ui/desktop/OpenManual.h"
#include "ui/desktop/StaysOnTop.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/CellColourDialog.h"
#include "ui/dialogs/CompareOptionsDialog.h"
#include "ui/run/GuiRunUi.h"
#include "ui/widgets/GothicFont.h"
#include "ui/widgets/Twips.h"
#include "ui/window/CompareScreen.h"
#include "ui/window/SearchPrintScreen.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStackedWidget>
#include <QTimer>

namespace brelix::ui {

namespace {

constexpr std::chrono::milliseconds kReadyOfficeDelay{500};

QAction* name(QAction* action, const char* objectName)
{
    action->setObjectName(QLatin1String(objectName));
    return action;
}

// The choices of the comparison's dialog, which the window's settings keep under the same names
// as a comparison's settings.
template <typename From, typename To> void copyPairingAndRules(const From& from, To& to)
{
    to.keyColumns = from.keyColumns;
    to.bySheetName = from.bySheetName;
    to.equality = from.equality;
}

} // namespace

MainWindow::MainWindow(host::SpreadsheetHostFactory& factory, const QString& argument,
                       QWidget* parent)
    : QMainWindow(parent), m_factory(factory), m_keepHitFile(!argument.isEmpty())
{
    setWindowTitle(QStringLiteral("Brelix - diff"));
    setFont(gothicFont());
    // Both screens on the same spot; the mode shows one of them.
    m_screens = new QStackedWidget;
    m_screens->setContentsMargins(8, 8, 8, 8);
    setCentralWidget(m_screens);
    m_compareScreen = new CompareScreen(m_screens);
    m_compareScreen->setObjectName(QStringLiteral("compareScreen"));
    m_searchPrintScreen = new SearchPrintScreen(m_screens);
    m_searchPrintScreen->setObjectName(QStringLiteral("searchPrintScreen"));
    m_screens->addWidget(m_compareScreen);
    m_screens->addWidget(m_searchPrintScreen);
    connect(m_compareScreen, &CompareScreen::compareRequested, this, &MainWindow::startComparison);
    connect(m_searchPrintScreen, &SearchPrintScreen::searchRequested, this,
            &MainWindow::startSearch);
    connect(m_searchPrintScreen, &SearchPrintScreen::printRequested, this, &MainWindow::startPrint);
    connect(m_compareScreen, &CompareScreen::quitRequested, this, &QWidget::close);
    connect(m_searchPrintScreen, &SearchPrintScreen::quitRequested, this, &QWidget::close);
    buildMenus();
    startUp(argument);
}

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    m_compareModeAction = name(bar->addAction(QCoreApplication::translate("MainWindow", "比較"),
                                              this, &MainWindow::showCompareMode),
                               "compareModeAction");
    m_searchModeAction = name(bar->addAction(QCoreApplication::translate("MainWindow", "検索"),
                                             this, &MainWindow::showSearchMode),
                              "searchModeAction");
    m_printModeAction = name(bar->addAction(QCoreApplication::translate("MainWindow", "連続印刷"),
                                            this, &MainWindow::showPrintMode),
                             "printModeAction");
    buildOptionsMenu(bar->addMenu(QCoreApplication::translate("MainWindow", "ｵﾌﾟｼｮﾝ")));
    name(bar->addAction(QCoreApplication::translate("MainWindow", "ヘルプ"), this,
                        &MainWindow::openHelp),
         "helpAction");
    name(bar->addAction(QCoreApplication::translate("MainWindow", "バージョン"), this,
                        [this] { AboutDialog::showModal(this); }),
         "aboutAction");
}

void MainWindow::buildOptionsMenu(QMenu* options)
{
    options->setObjectName(QStringLiteral("optionsMenu"));
    // The action has inverted its check mark already.
    m_alwaysOnTopAction =
        name(options->addAction(QCoreApplication::translate("MainWindow", "常に手前に表示"), this,
                                [this] { setStaysOnTop(this, m_alwaysOnTopAction->isChecked()); }),
             "alwaysOnTopAction");
    m_alwaysOnTopAction->setCheckable(true);
    m_readyOfficeAction = name(
        options->addAction(QCoreApplication::translate("MainWindow", "LibreOffice を待機させる"),
                           this, &MainWindow::applyReadyOffice),
        "readyOfficeAction");
    m_readyOfficeAction->setCheckable(true);
    m_noSizeLimitAction =
        name(options->addAction(
                 QCoreApplication::translate("MainWindow", "全てのセルを比較・検索する"), this,
                 [this] { m_settings.noSizeLimit = m_noSizeLimitAction->isChecked(); }),
             "noSizeLimitAction");
    m_noSizeLimitAction->setCheckable(true);
    buildChoiceMenus(options);
    name(options->addAction(QCoreApplication::translate("MainWindow", "比較背景色"), this,
                            &MainWindow::chooseDiffColour),
         "diffColourAction");
    m_alignRowsAction = name(
        options->addAction(QCoreApplication::translate("MainWindow", "行・列を対応付けて比較")),
        "alignRowsAction");
    m_alignRowsAction->setCheckable(true);
    name(options->addAction(QCoreApplication::translate("MainWindow", "比較の設定..."), this,
                            &MainWindow::chooseCompareOptions),
         "compareOptionsAction");
}

// Each submenu is one exclusive choice; an item's data is the number Brelix.ini keeps.
void MainWindow::buildChoiceMenus(QMenu* options)
{
    const auto choice = [&](const QString& title, const char* objectName, auto choose) {
        QMenu* menu = options->addMenu(title);
        menu->setObjectName(QLatin1String(objectName));
        auto* group = new QActionGroup(menu);
        connect(group, &QActionGroup::triggered, this,
                [choose](QAction* item) { choose(item->data().toInt()); });
        return std::pair{menu, group};
    };
    const auto item = [](const std::pair<QMenu*, QActionGroup*>& menu, const QString& caption,
                         const QString& objectName, int value) {
        QAction* action = menu.second->addAction(menu.first->addAction(caption));
        action->setObjectName(objectName);
        action->setCheckable(true);
        action->setData(value);
        return action;
    };
    const auto targets = choice(QCoreApplication::translate("MainWindow", "比較対象"),
                                "compareTargetMenu", [this](int value) {
                                    m_settings.compareTarget =
                                        static_cast<settings::CompareTarget>(value);
                                });
    m_compareTargetActions = {
        item(targets, QCoreApplication::translate("MainWindow", "値　を比較する"),
             QStringLiteral("compareValuesAction"), 0),
        item(targets, QCoreApplication::translate("MainWindow", "式　を比較する"),
             QStringLiteral("compareFormulasAction"), 1)};
    const auto rows =
        choice(QCoreApplication::translate("MainWindow", "ﾂｰﾙﾊﾞｰの行数"), "toolbarRowsMenu",
               [this](int value) { m_settings.toolbarRows = value; });
    for (int i = 0; i < 6; ++i) {
        m_toolbarRowsActions[static_cast<size_t>(i)] =
            item(rows, QCoreApplication::translate("MainWindow", "%1 行").arg(i),
                 QStringLiteral("toolbarRows%1Action").arg(i), i);
    }
    const auto offices =
        choice(QCoreApplication::translate("MainWindow", "同時に使う LibreOffice の数"),
               "officeCountMenu", [this](int value) { m_settings.officeCount = value; });
    for (int i = 0; i <= run::kMostOffices; ++i) {
        const QString caption =
            i == 0 ? QCoreApplication::translate("MainWindow", "CPU のコア数 (最大 %1)")
                         .arg(run::kMostOffices)
                   : QString::number(i);
        m_officeCountActions[static_cast<size_t>(i)] =
            item(offices, caption, QStringLiteral("officeCount%1Action").arg(i), i);
    }
}

void MainWindow::startUp(const QString& argument)
{
    fitToScreens();
    const settings::SettingsFile::Loaded loaded = settings::SettingsFile::load();
    applySettings(loaded.settings, loaded.recovered);

    if (argument == QLatin1String("xls") || argument == QLatin1String("csv")) {
        const QString folder = files::programFolder() + QStringLiteral("/テストデータ/");
        m_compareScreen->setFiles(folder + QStringLiteral("TEST1.") + argument,
                                  folder + QStringLiteral("TEST2.") + argument);
    } else {
        m_compareScreen->setFiles(QString(), QString());
    }
    showCompareMode();
    m_password.clear();
    if (m_settings.startMode == 1)
        showSearchMode();
    else if (m_settings.startMode == 2)
        showPrintMode();
    if (m_alwaysOnTopAction->isChecked())
        setStaysOnTop(this, true);
}

void MainWindow::fitToScreens()
{
    // As large as the largest mode needs; wider only at the user's wish.
    QSize natural;
    for (const auto mode :
         {&MainWindow::showSearchMode, &MainWindow::showPrintMode, &MainWindow::showCompareMode}) {
        (this->*mode)();
        natural = natural.expandedTo(minimumSizeHint());
    }
    setMinimumSize(natural);
    setMaximumHeight(natural.height());
    m_naturalWidth = natural.width();
}

void MainWindow::applySettings(const settings::Settings& settings, bool recovered)
{
    m_settings = settings;
    // A width from the file stays within the screen, however large the number.
    const int kept = settings.width
                         ? std::min(twips(*settings.width), screen()->availableGeometry().width())
                         : 0;
    resize(std::max(kept, m_naturalWidth), height());
    m_openedWidth = width();
    // Centred on the screen's work area on each axis the file does not place.
    const QRect area = screen()->availableGeometry();
    const QSize size = frameGeometry().size();
    move(settings.left ? twips(*settings.left) : area.left() + (area.width() - size.width()) / 2,
         settings.top ? twips(*settings.top) : area.top() + (area.height() - size.height()) / 2);
    m_compareScreen->applySettings(settings);
    m_searchPrintScreen->applySettings(settings, recovered);
    m_alwaysOnTopAction->setChecked(settings.alwaysOnTop);
    m_alignRowsAction->setChecked(settings.alignRows);
    m_readyOfficeAction->setChecked(settings.readyOffice);
    m_noSizeLimitAction->setChecked(settings.noSizeLimit);
    for (size_t i = 0; i < m_compareTargetActions.size(); ++i)
        m_compareTargetActions[i]->setChecked(static_cast<size_t>(settings.compareTarget) == i);
    for (size_t i = 0; i < m_toolbarRowsActions.size(); ++i)
        m_toolbarRowsActions[i]->setChecked(settings.toolbarRows == static_cast<int>(i));
    for (size_t i = 0; i < m_officeCountActions.size(); ++i)
        m_officeCountActions[i]->setChecked(settings.officeCount == static_cast<int>(i));
}

settings::Settings MainWindow::currentSettings() const
{
    settings::Settings settings = m_settings;
    settings.startMode = !m_compareModeAction->isEnabled()  ? 0
                         : !m_searchModeAction->isEnabled() ? 1
                         : !m_printModeAction->isEnabled()  ? 2
                                                            : -1;
    settings.top = pixelsToTwips(pos().y());
    settings.left = pixelsToTwips(pos().x());
    // A width the user did not change is written back as it was read.
    if (width() != m_openedWidth)
        settings.width =
            width() > m_naturalWidth ? std::optional(pixelsToTwips(width())) : std::nullopt;
    settings.alwaysOnTop = m_alwaysOnTopAction->isChecked();
    settings.alignRows = m_alignRowsAction->isChecked();
    settings.readyOffice = m_readyOfficeAction->isChecked();
    m_compareScreen->writeSettings(settings);
    m_searchPrintScreen->writeSettings(settings);
    return settings;
}

void MainWindow::switchMode(QAction* current, QWidget* screen, const QString& title)
{
    for (QAction* mode : {m_compareModeAction, m_searchModeAction, m_printModeAction})
        mode->setEnabled(mode != current);
    m_screens->setCurrentWidget(screen);
    setWindowTitle(title);
}

void MainWindow::keepOfficeReady(run::ReadyOfficeFactory& readyOffice)
{
    m_readyOffice = &readyOffice;
    // Once the window is on the screen: the office starts on a thread, yet its start competes
    // for the processor with the window's first paint, which the display server may ask for
    // only after the first turn of the event loop.
    QTimer::singleShot(kReadyOfficeDelay, this, &MainWindow::applyReadyOffice);
}

void MainWindow::applyReadyOffice()
{
    if (m_readyOffice)
        m_readyOffice->setEnabled(m_readyOfficeAction->isChecked());
}

void MainWindow::holdBackReadyOffice(bool on)
{
    if (m_readyOffice)
        m_readyOffice->holdBack(on);
}

void MainWindow::showCompareMode()
{
    switchMode(m_compareModeAction, m_compareScreen, QStringLiteral("Brelix - diff"));
}

void MainWindow::showSearchMode()
{
    m_searchPrintScreen->showSearchControls();
    switchMode(m_searchModeAction, m_searchPrintScreen, QStringLiteral("Brelix - grep"));
    // Before the window is shown there is nothing to focus.
    if (isVisible())
        m_searchPrintScreen->focusSearchText();
}

void MainWindow::showPrintMode()
{
    m_searchPrintScreen->showPrintControls();
    switchMode(m_printModeAction, m_searchPrintScreen, QStringLiteral("Brelix - print"));
}

void MainWindow::chooseDiffColour()
{
    // Saved with the other settings when the window closes.
    if (const std::optional<int> chosen = CellColourDialog::ask(this, m_settings.diffColourIndex))
        m_settings.diffColourIndex = *chosen;
}

void MainWindow::chooseCompareOptions()
{
    // Saved with the other settings when the window closes.
    compare::DiffSettings current;
    copyPairingAndRules(m_settings, current);
    if (const std::optional<compare::DiffSettings> chosen =
            CompareOptionsDialog::ask(this, current))
        copyPairingAndRules(*chosen, m_settings);
}

void MainWindow::openHelp()
{
    // The desktop cannot tell a missing file from a missing program, so look first.
    if (const QUrl manual = manualUrl(); QFileInfo::exists(manual.toLocalFile())) {
        QDesktopServices::openUrl(manual);
        return;
    }
    QMessageBox::warning(this, QCoreApplication::translate("MainWindow", "ヘルプ無し"),
                         QCoreApplication::translate("MainWindow", "ヘルプファイルがありません"));
}

void MainWindow::startComparison()
{
    if (m_jobRunning)
        return;
    compare::DiffSettings settings = m_compareScreen->diffSettings();
    settings.outputPath = files::programFile(files::kResultsFile);
    settings.templatePath = files::programFile(files::kTemplateFile);
    settings.byFormula = m_settings.compareTarget == brelix::settings::CompareTarget::Formulas;
    settings.toolbarRows = m_settings.toolbarRows;
    settings.diffColour = m_settings.diffColourIndex;
    settings.alignRows = m_alignRowsAction->isChecked();
    settings.noSizeLimit = m_settings.noSizeLimit;
    copyPairingAndRules(m_settings, settings);

    // Nothing may start a second job or close the window while this one runs.
    m_jobRunning = true;
    holdBackReadyOffice(true);
    setEnabled(false);
    GuiRunUi ui(this, m_alwaysOnTopAction->isChecked());
    run::ResponsiveHostFactory factory(m_factory, ui);
    bool programEnds = false;
    // Two folders: every workbook under them, and only the change history is left open.
    if (compare::FolderPairing::isFolderComparison(settings.firstPath, settings.secondPath)) {
        compare::FolderDiffRun folders(factory, ui, m_password);
        folders.useOffices(m_factory, run::officeCount(m_settings.officeCount));
        folders.start(settings, &programEnds);
    } else {
        compare::DiffRun(factory, ui, m_password).start(settings, &programEnds);
    }
    setEnabled(true);
    m_jobRunning = false;
    holdBackReadyOffice(false);
    if (programEnds)
        close();
}

// The search leaves the window usable, as the folder list may be browsed meanwhile; only a
// second job and closing the window wait for it.
void MainWindow::startSearch()
{
    if (m_jobRunning)
        return;
    search::SearchSettings settings = m_searchPrintScreen->searchSettings();
    settings.templatePath = files::programFile(files::kTemplateFile);
    settings.outputPath = files::programFile(files::kResultsFile);
    settings.hitFilePath = files::programFile(files::kHitFile);
    settings.keepHitFile = m_keepHitFile;
    settings.toolbarRows = m_settings.toolbarRows;
    settings.noSizeLimit = m_settings.noSizeLimit;

    m_jobRunning = true;
    holdBackReadyOffice(true);
    GuiRunUi ui(this, m_alwaysOnTopAction->isChecked());
    run::ResponsiveHostFactory factory(m_factory, ui);
    search::SearchRun search(factory, ui, m_password);
    search.useOffices(m_factory, run::officeCount(m_settings.officeCount));
    const search::SearchOutcome outcome =
        search.start(settings, [this] { m_searchPrintScreen->updateSearchHistories(); });
    m_jobRunning = false;
    holdBackReadyOffice(false);
    if (outcome.ending == search::SearchEnding::EmptyText)
        m_searchPrintScreen->focusSearchText();
}

void MainWindow::startPrint()
{
    if (m_jobRunning)
        return;
    print::PrintRequest request = m_searchPrintScreen->printRequest();
    request.updateFolderHistory = [this] { m_searchPrintScreen->updateFolderHistory(); };
    request.setMainWindowEnabled = [this](bool enabled) { setEnabled(enabled); };

    // Nothing may start a second job or close the window while this one runs.
    m_jobRunning = true;
    holdBackReadyOffice(true);
    GuiRunUi ui(this, m_alwaysOnTopAction->isChecked());
    run::ResponsiveHostFactory factory(m_factory, ui);
    print::PrintRun print(factory, ui);
    print.useOffices(m_factory, run::officeCount(m_settings.officeCount));
    print.start(request);
    m_jobRunning = false;
    holdBackReadyOffice(false);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_jobRunning) {
        event->ignore();
        return;
    }
    if (windowState() == Qt::WindowNoState)
        settings::SettingsFile::save(currentSettings());
    event->accept();
}

} // namespace brelix::ui
