#pragma once

#include "host/SpreadsheetHostFactory.h"
#include "shell/FolderListing.h"
#include "shell/Settings.h"

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
class frmBrelix : public QMainWindow {
    Q_OBJECT
public:
    // `argument` is the command line's text: "xls" or "csv" fills the file boxes with the test
    // workbooks.
    frmBrelix(host::SpreadsheetHostFactory& factory, const QString& argument,
              QWidget* parent = nullptr);

    // Compare screen.
    std::array<QFrame*, 2> fraMain{};
    QGroupBox* Frame1;
    std::array<QLineEdit*, 2> txtFile{};
    std::array<QPushButton*, 2> cmdDir{};
    QLabel* Label1;
    QGroupBox* frmOption;
    QCheckBox* chkColor;
    QLabel* lblSheet;
    std::array<QLineEdit*, 2> txtSheet{};
    QGroupBox* Frame2;
    std::array<QRadioButton*, 3> optHyouji{};
    QPushButton* cmdDiff;
    QPushButton* cmdEnd;

    // Search/print screen: the folder and its two-column file list.
    QComboBox* cboDir;
    QPushButton* cmdDirChg;
    QComboBox* cboKind;
    std::array<QPushButton*, 2> cmdTitle{};
    std::array<QListWidget*, 2> List1{};
    // Search controls.
    QLabel* lblGrep;
    QComboBox* cboGrep;
    QFrame* fraGrep;
    QCheckBox* chkGrep;
    QLabel* Label3;
    QPushButton* cmdGrep;
    // Print controls.
    QLabel* lblTitle;
    std::array<QRadioButton*, 4> optPri{};
    QPushButton* cmdPrint;
    QPushButton* cmdEnd2;

    // Menu bar.
    QAction* mnuDiff;
    QAction* mnuGrep;
    QAction* mnuPrint;
    QAction* mnuFront;
    std::array<QAction*, 2> mnuHikaku{};
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
    void cmdDiff_Click();
    void cmdGrep_Click();
    void cmdPrint_Click();
    void cmdDir_Click(int index);
    // A drop of files onto a file box: the last name that resolves wins.
    void txtFile_OLEDragDrop(int index, const QMimeData* dropped);
    void cmdDirChg_Click();
    void cmdTitle_Click(int index);
    void cboDir_Change();
    void cboKind_Click();
    // Column `index` was pressed or released with the mouse: the other column follows it.
    void SyncListSelection(int index);
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
    void BuildFileList();
    // The folder history of a job's start, without listing the folder again.
    void updateFolderHistory();
    // Lists `folder` with `pattern`; a folder that cannot be listed keeps the shown list.
    void pointFileList(const QString& folder, const QString& pattern);
    void showSearchControls(bool search);
    void Form_Load(const QString& argument);
    void applySettings(const shell::Settings& settings, bool recovered);
    shell::Settings currentSettings() const;
    void switchMode(QAction* current, int screen, const QString& caption);

    host::SpreadsheetHostFactory& m_factory;
    shell::Settings m_settings; // what the window keeps that no widget holds
    QString m_password;         // the sheet password typed last; never written anywhere
    bool m_running = false;
    bool m_keepHitFile = false;     // the program was started with arguments
    shell::FolderListing m_listing; // what the file list was built from
    QString m_pattern;              // the file type cboKind chose last
};

} // namespace brelix::ui
