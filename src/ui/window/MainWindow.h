#pragma once

#include "core/host/SpreadsheetHostFactory.h"
#include "core/run/OfficeCount.h"
#include "core/settings/Settings.h"

#include <QMainWindow>
#include <array>

class QAction;
class QMenu;
class QStackedWidget;

namespace brelix::run {
class ReadyOfficeFactory;
}

namespace brelix::ui {

class CompareScreen;
class SearchPrintScreen;

// The main window: the menu bar, the switch between the compare screen and the search/print
// screen, the settings read at the start and saved at the end, and the guard that lets one job
// run at a time.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `argument` is the command line's text: "xls" or "csv" fills the file boxes with the test
    // workbooks.
    MainWindow(host::SpreadsheetHostFactory& factory, const QString& argument,
               QWidget* parent = nullptr);

    // A comparison, search or print is running; no other may start and the window stays open.
    bool jobRunning() const { return m_jobRunning; }
    // Keeps an office ready while the setting says so, from shortly after the window shows.
    void keepOfficeReady(run::ReadyOfficeFactory& readyOffice);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildOptionsMenu(QMenu* options);
    void buildChoiceMenus(QMenu* options);
    void startUp(const QString& argument);
    void fitToScreens();
    void applySettings(const settings::Settings& settings, bool recovered);
    settings::Settings currentSettings() const;

    void showCompareMode();
    void showSearchMode();
    void showPrintMode();
    void switchMode(QAction* current, QWidget* screen, const QString& title);
    void chooseDiffColour();
    void chooseCompareOptions();
    void applyReadyOffice();
    void holdBackReadyOffice(bool on); // the next ready office waits for the job's end
    void openHelp();

    void startComparison();
    void startSearch();
    void startPrint();

    host::SpreadsheetHostFactory& m_factory;
    run::ReadyOfficeFactory* m_readyOffice = nullptr; // none in tests
    QStackedWidget* m_screens;
    CompareScreen* m_compareScreen;
    SearchPrintScreen* m_searchPrintScreen;

    QAction* m_compareModeAction = nullptr;
    QAction* m_searchModeAction = nullptr;
    QAction* m_printModeAction = nullptr;
    QAction* m_alwaysOnTopAction = nullptr;
    QAction* m_alignRowsAction = nullptr;
    QAction* m_readyOfficeAction = nullptr;
    QAction* m_noSizeLimitAction = nullptr;
    std::array<QAction*, 2> m_compareTargetActions{}; // values, formulas
    std::array<QAction*, 6> m_toolbarRowsActions{};   // 0 to 5 rows
    // Automatic (as many as the cores), then 1 to the most.
    std::array<QAction*, run::kMostOffices + 1> m_officeCountActions{};

    settings::Settings m_settings; // what the window keeps that no widget holds
    QString m_password;            // the sheet password typed last; never written anywhere
    int m_naturalWidth = 0;        // the width the controls need
    int m_openedWidth = 0;         // the width the settings gave
    bool m_jobRunning = false;
    bool m_keepHitFile = false; // the program was started with arguments
};

} // namespace brelix::ui
