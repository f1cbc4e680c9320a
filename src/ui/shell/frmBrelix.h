#pragma once

#include "host/SpreadsheetHostFactory.h"
#include "shell/Settings.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
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
    void cmdDir_Click(int index);
    // A drop of files onto a file box: the last name that resolves wins.
    void txtFile_OLEDragDrop(int index, const QMimeData* dropped);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildCompareScreen();
    void buildMenus();
    void Form_Load(const QString& argument);
    void applySettings(const shell::Settings& settings, bool recovered);
    shell::Settings currentSettings() const;
    void switchMode(QAction* current, int screen, const QString& caption);

    host::SpreadsheetHostFactory& m_factory;
    shell::Settings m_settings; // what the window keeps that no widget holds
    QString m_password;         // the sheet password typed last; never written anywhere
    bool m_running = false;
};

} // namespace brelix::ui
