#pragma once

#include "core/files/FolderListing.h"
#include "core/host/SpreadsheetHostFactory.h"
#include "core/settings/Settings.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <array>

namespace brelix::ui {

// The main window: the compare screen and the search/print screen on the same spot, the
// menu bar that switches between the three modes, and the options.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `argument` is the command line's text: "xls" or "csv" fills the file boxes with the test
    // workbooks.
    MainWindow(host::SpreadsheetHostFactory& factory, const QString& argument,
               QWidget* parent = nullptr);

    // Compare screen.
    std::array<QFrame*, 2> fraMain{};
    QGroupBox* Frame1;
    std::array<QLineEdit*, 2> txtFile{};
    std::array<QPushButton*, 2> cmdDir{};
    QLabel* Label1;
    QGroupBox* frmOption;
    QCheckBox* colourDifferences;
    QLabel* lblSheet;
    std::array<QLineEdit*, 2> txtSheet{};
    QGroupBox* Frame2;
    std::array<QRadioButton*, 3> windowLayout{};
    QPushButton* cmdDiff;
    QPushButton* cmdEnd;

    // Search/print screen: the folder and its two-column file list.
    QComboBox* folderHistory;
    QPushButton* cmdDirChg;
    QComboBox* fileTypeFilter;
    std::array<QPushButton*, 2> cmdTitle{};
    std::array<QListWidget*, 2> List1{};
    // Search controls.
    QLabel* lblGrep;
    QComboBox* searchHistory;
    QFrame* fraGrep;
    QCheckBox* caseSensitive;
    QLabel* Label3;
    QPushButton* cmdGrep;
    // Print controls.
    QLabel* lblTitle;
    std::array<QRadioButton*, 4> printScope{};
    QPushButton* cmdPrint;
    QPushButton* cmdEnd2;

    // Menu bar.
    QAction* mnuDiff;
    QAction* mnuGrep;
    QAction* mnuPrint;
    QAction* alwaysOnTopAction;
    std::array<QAction*, 2> compareTargetMenu{};
    std::array<QAction*, 6> mnuToolBar{};
    QAction* mnuSet;
    QAction* mnuHelp;
    QAction* mnuVer;

    bool running() const { return m_running; }

    void mnuDiff_Click();
    void mnuGrep_Click();
    void mnuPrint_Click();
    void mnuFront_Click();
    void mnuHikaku_Click(int index);
    void mnuToolBar_Click(int index);
    void mnuHelp_Click();
    void mnuSet_Click();
    void mnuVer_Click();
    void startComparison();
    void startSearch();
    void startPrint();
    void cmdDir_Click(int index);
    // A drop of files onto a file box: the last name that resolves wins.
    void txtFile_OLEDragDrop(int index, const QMimeData* dropped);
    void cmdDirChg_Click();
    void cmdTitle_Click(int index);
    void cboDir_Change();
    void cboKind_Click();
    // Column `index` was pressed or released with the mouse: the other column follows it.
    void syncListSelection(int index);
    // The folder the list shows now; empty before one could be listed.
    QString listedFolder() const { return m_listing.folder; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildCompareScreen();
    void buildMenus();
    void buildFolderList();
    void buildSearchPrintControls();
    void buildFileList();
    // The folder history of a job's start, without listing the folder again.
    void updateFolderHistory();
    // Lists `folder` with `pattern`; a folder that cannot be listed keeps the shown list.
    void pointFileList(const QString& folder, const QString& pattern);
    void showSearchControls(bool search);
    void Form_Load(const QString& argument);
    void applySettings(const settings::Settings& settings, bool recovered);
    settings::Settings currentSettings() const;
    void switchMode(QAction* current, int screen, const QString& caption);

    host::SpreadsheetHostFactory& m_factory;
    settings::Settings m_settings; // what the window keeps that no widget holds
    QString m_password;            // the sheet password typed last; never written anywhere
    bool m_running = false;
    bool m_keepHitFile = false;     // the program was started with arguments
    files::FolderListing m_listing; // what the file list was built from
    QString m_pattern;              // the file type fileTypeFilter chose last
};

} // namespace brelix::ui
