#include "InMemoryHostFactory.h"
#include "TemporaryProgramFolder.h"
#include "ui/window/MainWindow.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::support::InMemoryHost;
using brelix::support::InMemoryHostFactory;
using brelix::support::WorkbookContent;

namespace brelix::ui {
namespace {

// Answers every message box the window shows while it lives (Yes to a question) and keeps
// "title|text" of each.
class MessageAnswerer {
public:
    MessageAnswerer()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            m_seen.append(box->windowTitle() + u'|' + box->text());
            QAbstractButton* yes = box->button(QMessageBox::Yes);
            (yes ? yes : box->button(QMessageBox::Ok))->click();
        });
        m_timer.start(10);
    }
    const QStringList& seen() const { return m_seen; }

private:
    QTimer m_timer;
    QStringList m_seen;
};

// The print screen over a folder of three workbooks in the in-memory office.
class PrintScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir(m_dir.path()).mkdir(u"data"_s);
        QDir(m_dir.path()).mkdir(u"empty"_s);
        m_folder = m_dir.filePath(u"data"_s);
        m_empty = m_dir.filePath(u"empty"_s);
        for (const QString& name : {u"a.xls"_s, u"b.xls"_s, u"c.xls"_s}) {
            QFile f(QDir(m_folder).filePath(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            m_factory.addFile(f.fileName(), WorkbookContent::withSheets({u"S"_s, u"T"_s}));
        }
        QFile ini(m_dir.filePath(u"Brelix.ini"_s));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[PRINT ]" + m_empty.toUtf8() + "\r\n[PRINT ]" + m_folder.toUtf8() + "\r\n");
    }

    support::TemporaryProgramFolder m_dir;
    InMemoryHostFactory m_factory;
    QString m_folder;
    QString m_empty;
};

TEST_F(PrintScreenTest, WithoutAScopeThePrintButtonDoesNothingVisible)
{
    MainWindow window(m_factory, QString());
    window.mnuPrint_Click();
    window.folderHistory->setCurrentIndex(1);
    window.List1[0]->item(0)->setSelected(true);
    const MessageAnswerer answerer;
    window.cmdPrint->click();
    QApplication::processEvents();
    EXPECT_TRUE(answerer.seen().isEmpty());
    EXPECT_EQ(m_factory.startCount(), 0);
    EXPECT_TRUE(window.List1[0]->item(0)->isSelected());
}

TEST_F(PrintScreenTest, AnEmptyListOrNoSelectionIsToldAndNothingStarts)
{
    MainWindow window(m_factory, QString());
    window.printScope[1]->setChecked(true);
    const MessageAnswerer answerer;
    window.startPrint();
    window.folderHistory->setCurrentIndex(1);
    window.startPrint();
    const QString refusal = u"選択無し|対象ファイルを選択して下さい"_s;
    EXPECT_EQ(answerer.seen(), QStringList({refusal, refusal}));
    EXPECT_EQ(m_factory.startCount(), 0);
    EXPECT_TRUE(window.isEnabled());
}

TEST_F(PrintScreenTest, APrintRunsWithTheWindowDisabledAndKeepsListAndSelection)
{
    MainWindow window(m_factory, QString());
    window.mnuPrint_Click();
    window.folderHistory->setCurrentIndex(1);
    window.List1[0]->item(0)->setSelected(true);
    window.List1[0]->item(2)->setSelected(true);
    window.printScope[3]->setChecked(true);
    bool disabledWhileRunning = false;
    m_factory.onStart(
        [&](InMemoryHost&) { disabledWhileRunning = !window.isEnabled() && window.running(); });
    const MessageAnswerer answerer;

    window.cmdPrint->click();

    EXPECT_EQ(answerer.seen(),
              QStringList({u"最終確認|１シート、１ページを印刷しますが、宜しいですか？"_s,
                           u"印刷完了通知|印刷が完了しました"_s}));
    EXPECT_TRUE(disabledWhileRunning);
    EXPECT_TRUE(window.isEnabled());
    EXPECT_FALSE(window.running());
    ASSERT_EQ(m_factory.lastHost().printJobs().size(), 2);
    EXPECT_EQ(m_factory.lastHost().printJobs()[1].book, u"c.xls"_s);
    EXPECT_TRUE(m_factory.lastHost().calls().contains(
        u"openWorkbook(%1)"_s.arg(QDir(m_folder).filePath(u"c.xls"_s))));
    // The printed folder heads the history; the list is not built again.
    EXPECT_EQ(window.folderHistory->itemText(0), m_folder);
    EXPECT_EQ(window.folderHistory->itemText(1), m_empty);
    EXPECT_TRUE(window.List1[0]->item(2)->isSelected());
    EXPECT_FALSE(window.List1[0]->item(1)->isSelected());
}

} // namespace
} // namespace brelix::ui
