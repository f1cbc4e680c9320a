#include "ui/window/MainWindow.h"

#include "InMemoryHostFactory.h"
#include "TemporaryProgramFolder.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::host::CellContent;
using brelix::support::InMemoryHostFactory;
using brelix::support::WorkbookContent;

namespace brelix::ui {
namespace {

// The main window over the in-memory office, with the program's folder in a temporary folder.
class MainWindowTest : public ::testing::Test {
protected:
    QString file(const QString& name) const { return QDir(m_dir.path()).filePath(name); }
    void writeSettings(const QByteArray& text)
    {
        QFile ini(file(u"Brelix.ini"_s));
        ini.open(QIODevice::WriteOnly);
        ini.write(text);
    }
    QByteArray settingsText()
    {
        QFile ini(file(u"Brelix.ini"_s));
        return ini.open(QIODevice::ReadOnly) ? ini.readAll() : QByteArray();
    }
    // A workbook on disk (for the checks) and in the office's table.
    void put(const QString& name, const WorkbookContent& content)
    {
        QFile f(file(name));
        f.open(QIODevice::WriteOnly);
        m_factory.addFile(file(name), content);
    }

    support::TemporaryProgramFolder m_dir;
    InMemoryHostFactory m_factory;
};

TEST_F(MainWindowTest, TheTestArgumentFillsTheFileBoxesOnlyWhenExact)
{
    MainWindow csv(m_factory, u"csv"_s);
    EXPECT_EQ(csv.txtFile[0]->text(), m_dir.path() + u"/テストデータ/TEST1.csv"_s);
    EXPECT_EQ(csv.txtFile[1]->text(), m_dir.path() + u"/テストデータ/TEST2.csv"_s);
    for (const QString& argument : {u"CSV"_s, u"csv x"_s, QString()}) {
        MainWindow other(m_factory, argument);
        EXPECT_TRUE(other.txtFile[0]->text().isEmpty()) << argument.toStdString();
        EXPECT_TRUE(other.txtFile[1]->text().isEmpty());
    }
}

TEST_F(MainWindowTest, ModesSwitchScreensAndCaptionsAndKeepTheControls)
{
    writeSettings("[KIND  ]1\r\n[TOOLBR]3\r\n[HIKAKU]1\r\n");
    MainWindow window(m_factory, u"xls"_s);
    EXPECT_EQ(window.windowTitle(), u"Brelix - grep"_s);
    EXPECT_FALSE(window.mnuGrep->isEnabled());
    EXPECT_TRUE(window.mnuToolBar[3]->isChecked());
    EXPECT_TRUE(window.compareTargetMenu[1]->isChecked());

    window.txtSheet[0]->setText(u"2"_s);
    window.mnuDiff_Click();
    EXPECT_EQ(window.windowTitle(), u"Brelix - diff"_s);
    EXPECT_FALSE(window.fraMain[0]->isHidden());
    EXPECT_TRUE(window.fraMain[1]->isHidden());
    window.mnuPrint_Click();
    EXPECT_EQ(window.windowTitle(), u"Brelix - print"_s);
    EXPECT_TRUE(window.mnuDiff->isEnabled() && window.mnuGrep->isEnabled());
    window.mnuDiff_Click();
    EXPECT_EQ(window.txtSheet[0]->text(), u"2"_s);
    EXPECT_TRUE(window.txtFile[0]->text().endsWith(u"TEST1.xls"_s));

    window.mnuToolBar_Click(0);
    int checked = 0;
    for (QAction* item : window.mnuToolBar)
        checked += item->isChecked() ? 1 : 0;
    EXPECT_EQ(checked, 1);
    EXPECT_TRUE(window.mnuToolBar[0]->isChecked());
}

TEST_F(MainWindowTest, TheSettingsAreSavedAtTheEndInTheNormalState)
{
    {
        MainWindow window(m_factory, QString());
        window.mnuToolBar_Click(4);
        window.windowLayout[2]->setChecked(true);
        window.mnuGrep_Click();
        window.close();
    }
    const QByteArray saved = settingsText();
    EXPECT_TRUE(saved.contains("[KIND  ]1\r\n"));
    EXPECT_TRUE(saved.contains("[TOOLBR]4\r\n"));
    EXPECT_TRUE(saved.contains("[HYOUJI]2\r\n"));

    MainWindow again(m_factory, QString());
    EXPECT_EQ(again.windowTitle(), u"Brelix - grep"_s);
    EXPECT_TRUE(again.windowLayout[2]->isChecked());
}

TEST_F(MainWindowTest, TheCompareButtonRunsTheComparisonAndFreesTheWindowAgain)
{
    WorkbookContent templ = WorkbookContent::withSheets({u"変更履歴"_s, u"Grep結果"_s});
    put(u"Brelix_Format.xls"_s, templ);
    put(u"Brelix.xls"_s, templ);
    WorkbookContent first = WorkbookContent::withSheets({u"S"_s});
    first.sheets[0].setCell(1, 1, CellContent::ofText(u"a"_s));
    WorkbookContent second = first;
    second.sheets[0].setCell(1, 1, CellContent::ofText(u"b"_s));
    put(u"one.xls"_s, first);
    put(u"two.xls"_s, second);

    MainWindow window(m_factory, QString());
    window.txtFile[0]->setText(file(u"one.xls"_s));
    window.txtFile[1]->setText(file(u"two.xls"_s));
    window.colourDifferences->setChecked(false);
    window.startComparison();

    EXPECT_TRUE(window.isEnabled());
    EXPECT_FALSE(window.running());
    const WorkbookContent history = *m_factory.savedContent(file(u"Brelix.xls"_s));
    EXPECT_EQ(history.sheets[0].cell(2, 4).text, u"A1"_s);
    EXPECT_EQ(history.sheets[0].cell(2, 6).text, u"b"_s);
    EXPECT_EQ(m_factory.lastHost().workbook(u"one.xls"_s).sheets[0].fill(1, 1), 0);
}

TEST_F(MainWindowTest, DroppedFilesSetTheBoxTheLastThatResolvesWins)
{
    MainWindow window(m_factory, QString());
    window.txtFile[0]->setText(u"typed"_s);

    QMimeData text;
    text.setText(u"/not/a/file/list"_s);
    window.txtFile_OLEDragDrop(0, &text);
    EXPECT_EQ(window.txtFile[0]->text(), u"typed"_s);

    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(file(u"a.xls"_s)), QUrl(u"https://example.invalid/x"_s),
                   QUrl::fromLocalFile(file(u"b.LNK"_s))});
    window.txtFile_OLEDragDrop(0, &files);
    // A capitalised .LNK is a plain name; the web address is no file at all.
    EXPECT_EQ(window.txtFile[0]->text(), file(u"b.LNK"_s));
    EXPECT_TRUE(window.txtFile[1]->text().isEmpty());
}

TEST_F(MainWindowTest, ACancelledFileDialogKeepsTheBox)
{
    MainWindow window(m_factory, QString());
    window.txtFile[1]->setText(u"kept"_s);
    QTimer::singleShot(0, [] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            dialog->close();
    });
    window.cmdDir_Click(1);
    EXPECT_EQ(window.txtFile[1]->text(), u"kept"_s);
}

// Three workbooks and a text file in a folder of their own, each with a chosen time.
class MainWindowFileListTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        QDir(m_dir.path()).mkdir(u"data"_s);
        m_folder = file(u"data"_s);
        touch(u"b.xls"_s, QDateTime(QDate(2001, 2, 3), QTime(4, 5)));
        touch(u"a.xls"_s, QDateTime(QDate(2003, 1, 1), QTime(23, 59)));
        touch(u"c.xls"_s, QDateTime(QDate(2002, 12, 31), QTime(0, 0)));
        touch(u"d.csv"_s, QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
        writeSettings("[PRINT ]" + m_folder.toUtf8() + "\r\n");
    }
    void touch(const QString& name, const QDateTime& time)
    {
        QFile f(QDir(m_folder).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.setFileTime(time, QFileDevice::FileModificationTime));
    }
    static QStringList column(const QListWidget* list)
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts.append(list->item(i)->text());
        return texts;
    }

    QString m_folder;
};

TEST_F(MainWindowFileListTest, TheListStartsInNameOrderAndTheTimeTitleSortsByTimeThenReverses)
{
    MainWindow window(m_factory, QString());
    EXPECT_EQ(window.listedFolder(), m_folder);
    EXPECT_EQ(column(window.List1[0]), (QStringList{u"a.xls"_s, u"b.xls"_s, u"c.xls"_s}));
    EXPECT_EQ(column(window.List1[1]),
              (QStringList{u"2003/01/01 23:59"_s, u"2001/02/03 04:05"_s, u"2002/12/31 00:00"_s}));

    window.cmdTitle[1]->click();
    EXPECT_EQ(column(window.List1[0]), (QStringList{u"b.xls"_s, u"c.xls"_s, u"a.xls"_s}));
    // The time column shows the whole sort key: time, four blanks, listing index.
    EXPECT_EQ(column(window.List1[1]),
              (QStringList{u"2001/02/03 04:05    1"_s, u"2002/12/31 00:00    2"_s,
                           u"2003/01/01 23:59    0"_s}));
    window.cmdTitle[1]->click();
    EXPECT_EQ(column(window.List1[0]), (QStringList{u"a.xls"_s, u"c.xls"_s, u"b.xls"_s}));

    window.cmdTitle[0]->click();
    EXPECT_EQ(column(window.List1[0]), (QStringList{u"a.xls"_s, u"b.xls"_s, u"c.xls"_s}));
    window.cmdTitle[0]->click();
    EXPECT_EQ(column(window.List1[0]), (QStringList{u"c.xls"_s, u"b.xls"_s, u"a.xls"_s}));
    EXPECT_EQ(column(window.List1[1]).first(), u"2002/12/31 00:00"_s);
}

TEST_F(MainWindowFileListTest, TheFileTypeChoosesTheListedFiles)
{
    MainWindow window(m_factory, QString());
    window.fileTypeFilter->setCurrentIndex(1);
    EXPECT_EQ(column(window.List1[0]), QStringList{u"d.csv"_s});
    EXPECT_EQ(column(window.List1[1]), QStringList{u"2000/01/01 00:00"_s});
}

TEST_F(MainWindowFileListTest, ASelectionInOneColumnIsMirroredInTheOtherOnAMouseAction)
{
    MainWindow window(m_factory, QString());
    window.List1[0]->item(1)->setSelected(true);
    EXPECT_FALSE(window.List1[1]->item(1)->isSelected());
    const QPointF outside(-5, -5);
    QMouseEvent release(QEvent::MouseButtonRelease, outside, outside, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(window.List1[0]->viewport(), &release);
    QApplication::processEvents();
    EXPECT_TRUE(window.List1[1]->item(1)->isSelected());
    EXPECT_FALSE(window.List1[1]->item(0)->isSelected());

    window.List1[1]->item(1)->setSelected(false);
    window.List1[1]->item(2)->setSelected(true);
    window.syncListSelection(1);
    EXPECT_FALSE(window.List1[0]->item(1)->isSelected());
    EXPECT_TRUE(window.List1[0]->item(2)->isSelected());
}

TEST_F(MainWindowFileListTest, AFolderThatDoesNotExistLeavesTheListAsItWas)
{
    MainWindow window(m_factory, QString());
    window.folderHistory->setEditText(file(u"data/missing"_s));
    EXPECT_EQ(window.listedFolder(), m_folder);
    EXPECT_EQ(column(window.List1[0]), (QStringList{u"a.xls"_s, u"b.xls"_s, u"c.xls"_s}));

    window.folderHistory->setEditText(m_dir.path());
    EXPECT_EQ(window.listedFolder(), m_dir.path());
    EXPECT_EQ(window.List1[0]->count(), 0);
}

TEST_F(MainWindowFileListTest, ScrollingOneColumnScrollsTheOther)
{
    for (int i = 0; i < 40; ++i)
        touch(u"f%1.xls"_s.arg(i, 2, 10, QChar(u'0')), QDateTime(QDate(2004, 1, 1), QTime(0, i)));
    MainWindow window(m_factory, QString());
    window.mnuPrint_Click();
    window.show();
    QApplication::processEvents();
    ASSERT_GT(window.List1[0]->verticalScrollBar()->maximum(), 5);
    window.List1[0]->verticalScrollBar()->setValue(5);
    EXPECT_EQ(window.List1[1]->verticalScrollBar()->value(), 5);
    window.List1[1]->verticalScrollBar()->setValue(2);
    EXPECT_EQ(window.List1[0]->verticalScrollBar()->value(), 2);
}

TEST_F(MainWindowFileListTest, ACancelledFolderDialogKeepsTheFolderAndItsHistory)
{
    MainWindow window(m_factory, QString());
    QTimer::singleShot(0, [] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            dialog->close();
    });
    window.cmdDirChg_Click();
    EXPECT_EQ(window.listedFolder(), m_folder);
    EXPECT_EQ(window.folderHistory->count(), 1);
    EXPECT_EQ(window.List1[0]->count(), 3);
}

TEST_F(MainWindowFileListTest, TheSearchButtonSearchesTheSelectedFilesAndMovesTheHistories)
{
    WorkbookContent templ = WorkbookContent::withSheets({u"変更履歴"_s, u"Grep結果"_s});
    put(u"Brelix_Format.xls"_s, templ);
    put(u"Brelix.xls"_s, templ);
    WorkbookContent book = WorkbookContent::withSheets({u"S"_s});
    book.sheets[0].setCell(2, 3, CellContent::ofText(u"Total"_s));
    for (const QString& name : {u"a.xls"_s, u"b.xls"_s, u"c.xls"_s})
        m_factory.addFile(QDir(m_folder).filePath(name), book);

    MainWindow window(m_factory, QString());
    window.mnuGrep_Click();
    window.searchHistory->addItems({u"sum"_s, u"total"_s});
    window.searchHistory->setEditText(u"total"_s);
    window.List1[0]->item(0)->setSelected(true); // a.xls
    window.List1[0]->item(2)->setSelected(true); // c.xls
    window.startSearch();

    const WorkbookContent results = *m_factory.savedContent(file(u"Brelix.xls"_s));
    EXPECT_EQ(results.sheets[0].cell(2, 2).text, u"a.xls"_s);
    EXPECT_EQ(results.sheets[0].cell(3, 2).text, u"c.xls"_s);
    EXPECT_EQ(results.sheets[0].cell(3, 5).text, u"C2"_s);
    EXPECT_EQ(results.sheets[0].cell(4, 2).type, CellContent::Type::Empty);
    EXPECT_FALSE(QFile::exists(file(u"Brelix.grp"_s)));
    EXPECT_EQ(window.searchHistory->itemText(0), u"total"_s);
    EXPECT_EQ(window.searchHistory->itemText(1), u"sum"_s);
    EXPECT_EQ(window.folderHistory->itemText(0), m_folder);
    // The same folder is not listed again: the selection stays for the next search.
    EXPECT_TRUE(window.List1[0]->item(2)->isSelected());
    EXPECT_FALSE(window.running());

    // A second press and a close while the search runs change nothing.
    bool closedMidRun = true;
    m_factory.onStart([&](support::InMemoryHost&) {
        window.startSearch();
        closedMidRun = window.close();
    });
    const int startsBefore = m_factory.startCount();
    window.startSearch();
    EXPECT_EQ(m_factory.startCount(), startsBefore + 1);
    EXPECT_FALSE(closedMidRun);
    m_factory.onStart({});

    // Blanks only: refused before the histories move.
    window.searchHistory->setEditText(u"   "_s);
    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->close();
        }
    });
    window.startSearch();
    EXPECT_EQ(shown, u"検索文字を入れてよ"_s);
    EXPECT_EQ(window.searchHistory->count(), 2);
}

TEST_F(MainWindowTest, TheSearchAndPrintChoicesRoundTripThroughTheSettings)
{
    writeSettings("[PRINT ]" + m_dir.path().toUtf8() +
                  "\r\n[PRINT ]/tmp\r\n[GREP  ]sum\r\n"
                  "[GREP  ]total\r\n[Sheet ]2\r\n[DAISYO]1\r\n");
    {
        MainWindow window(m_factory, QString());
        EXPECT_EQ(window.folderHistory->currentText(), m_dir.path());
        EXPECT_EQ(window.folderHistory->count(), 2);
        EXPECT_EQ(window.searchHistory->currentText(), u"sum"_s);
        EXPECT_EQ(window.searchHistory->count(), 2);
        EXPECT_TRUE(window.printScope[2]->isChecked());
        EXPECT_TRUE(window.caseSensitive->isChecked());
        EXPECT_EQ(window.fileTypeFilter->currentText(), u"*.xls"_s);

        window.printScope[3]->setChecked(true);
        window.caseSensitive->setChecked(false);
        window.searchHistory->addItem(u"count"_s);
        window.close();
    }
    MainWindow again(m_factory, QString());
    EXPECT_TRUE(again.printScope[3]->isChecked());
    EXPECT_FALSE(again.printScope[2]->isChecked());
    EXPECT_FALSE(again.caseSensitive->isChecked());
    EXPECT_EQ(again.searchHistory->count(), 3);
    EXPECT_EQ(again.searchHistory->itemText(2), u"count"_s);
    EXPECT_EQ(again.folderHistory->itemText(1), u"/tmp"_s);
}

TEST_F(MainWindowTest, AStoppedReadingOffersNoSearchText)
{
    // The sheet value is out of range, so the reading stops there.
    writeSettings("[GREP  ]sum\r\n[Sheet ]9\r\n");
    MainWindow window(m_factory, QString());
    EXPECT_EQ(window.searchHistory->count(), 1);
    EXPECT_TRUE(window.searchHistory->currentText().isEmpty());
    EXPECT_EQ(window.folderHistory->currentText(), m_dir.path());
    for (QRadioButton* option : window.printScope)
        EXPECT_FALSE(option->isChecked());
}

TEST_F(MainWindowTest, SearchAndPrintModesShowTheirOwnControls)
{
    MainWindow window(m_factory, QString());
    EXPECT_EQ(window.cmdGrep->text(), u"検索開始"_s);
    EXPECT_EQ(window.cmdPrint->text(), u"印刷開始"_s);
    EXPECT_EQ(window.caseSensitive->text(), u"大小区別"_s);
    EXPECT_EQ(window.lblGrep->text(), u"検索文字："_s);
    EXPECT_EQ(window.cmdDirChg->text(), u"ディレクトリ選択"_s);
    EXPECT_EQ(window.cmdTitle[0]->text(), u"名　　前"_s);
    EXPECT_EQ(window.cmdTitle[1]->text(), u"更新日時"_s);
    const QStringList scopes = {u"全シート全ページ"_s, u"１シート全ページ"_s, u"全シート１ページ"_s,
                                u"１シート１ページ"_s};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(window.printScope[static_cast<size_t>(i)]->text(), scopes[i]);
    EXPECT_EQ(window.fileTypeFilter->count(), 2);
    EXPECT_EQ(window.fileTypeFilter->itemText(1), u"*.csv"_s);
    EXPECT_EQ(window.List1[1]->geometry(), QRect(208, 56, 112, 136));

    window.mnuGrep_Click();
    for (QWidget* shown : std::initializer_list<QWidget*>{window.lblGrep, window.searchHistory,
                                                          window.cmdGrep, window.fraGrep})
        EXPECT_FALSE(shown->isHidden());
    for (QWidget* hidden : std::initializer_list<QWidget*>{
             window.lblTitle, window.cmdPrint, window.printScope[0], window.printScope[3]})
        EXPECT_TRUE(hidden->isHidden());
    EXPECT_FALSE(window.fraMain[1]->isHidden());

    window.mnuPrint_Click();
    for (QWidget* hidden : std::initializer_list<QWidget*>{window.lblGrep, window.searchHistory,
                                                           window.cmdGrep, window.fraGrep})
        EXPECT_TRUE(hidden->isHidden());
    for (QWidget* shown : std::initializer_list<QWidget*>{
             window.lblTitle, window.cmdPrint, window.printScope[0], window.printScope[3]})
        EXPECT_FALSE(shown->isHidden());
    EXPECT_TRUE(window.fraMain[0]->isHidden());
    for (QWidget* kept : std::initializer_list<QWidget*>{window.folderHistory, window.List1[0],
                                                         window.List1[1], window.cmdEnd2})
        EXPECT_FALSE(kept->isHidden());
}

} // namespace
} // namespace brelix::ui
