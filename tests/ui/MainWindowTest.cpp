#include "InMemoryHostFactory.h"
#include "shell/frmBrelix.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMimeData>
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
    void SetUp() override
    {
        m_savedHome = qgetenv("BRELIX_HOME");
        qputenv("BRELIX_HOME", QFile::encodeName(m_dir.path()));
    }
    void TearDown() override { qputenv("BRELIX_HOME", m_savedHome); }

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

    QTemporaryDir m_dir;
    QByteArray m_savedHome;
    InMemoryHostFactory m_factory;
};

TEST_F(MainWindowTest, TheTestArgumentFillsTheFileBoxesOnlyWhenExact)
{
    frmBrelix csv(m_factory, u"csv"_s);
    EXPECT_EQ(csv.txtFile[0]->text(), m_dir.path() + u"/テストデータ/TEST1.csv"_s);
    EXPECT_EQ(csv.txtFile[1]->text(), m_dir.path() + u"/テストデータ/TEST2.csv"_s);
    for (const QString& argument : {u"CSV"_s, u"csv x"_s, QString()}) {
        frmBrelix other(m_factory, argument);
        EXPECT_TRUE(other.txtFile[0]->text().isEmpty()) << argument.toStdString();
        EXPECT_TRUE(other.txtFile[1]->text().isEmpty());
    }
}

TEST_F(MainWindowTest, ModesSwitchScreensAndCaptionsAndKeepTheControls)
{
    writeSettings("[KIND  ]1\r\n[TOOLBR]3\r\n[HIKAKU]1\r\n");
    frmBrelix window(m_factory, u"xls"_s);
    EXPECT_EQ(window.windowTitle(), u"Brelix - grep"_s);
    EXPECT_FALSE(window.mnuGrep->isEnabled());
    EXPECT_TRUE(window.mnuToolBar[3]->isChecked());
    EXPECT_TRUE(window.mnuHikaku[1]->isChecked());

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
        frmBrelix window(m_factory, QString());
        window.mnuToolBar_Click(4);
        window.optHyouji[2]->setChecked(true);
        window.mnuGrep_Click();
        window.close();
    }
    const QByteArray saved = settingsText();
    EXPECT_TRUE(saved.contains("[KIND  ]1\r\n"));
    EXPECT_TRUE(saved.contains("[TOOLBR]4\r\n"));
    EXPECT_TRUE(saved.contains("[HYOUJI]2\r\n"));

    frmBrelix again(m_factory, QString());
    EXPECT_EQ(again.windowTitle(), u"Brelix - grep"_s);
    EXPECT_TRUE(again.optHyouji[2]->isChecked());
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

    frmBrelix window(m_factory, QString());
    window.txtFile[0]->setText(file(u"one.xls"_s));
    window.txtFile[1]->setText(file(u"two.xls"_s));
    window.chkColor->setChecked(false);
    window.cmdDiff_Click();

    EXPECT_TRUE(window.isEnabled());
    EXPECT_FALSE(window.running());
    const WorkbookContent history = *m_factory.savedContent(file(u"Brelix.xls"_s));
    EXPECT_EQ(history.sheets[0].cell(2, 4).text, u"A1"_s);
    EXPECT_EQ(history.sheets[0].cell(2, 6).text, u"b"_s);
    EXPECT_EQ(m_factory.lastHost().workbook(u"one.xls"_s).sheets[0].fill(1, 1), 0);
}

TEST_F(MainWindowTest, DroppedFilesSetTheBoxTheLastThatResolvesWins)
{
    frmBrelix window(m_factory, QString());
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
    frmBrelix window(m_factory, QString());
    window.txtFile[1]->setText(u"kept"_s);
    QTimer::singleShot(0, [] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            dialog->close();
    });
    window.cmdDir_Click(1);
    EXPECT_EQ(window.txtFile[1]->text(), u"kept"_s);
}

} // namespace
} // namespace brelix::ui
