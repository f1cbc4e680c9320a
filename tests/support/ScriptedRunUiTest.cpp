#include "ScriptedRunUi.h"

#include "GTestPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::support {
namespace {

using run::MessageAnswer;
using run::MessageButtons;
using run::MessageIcon;
using run::RunMessage;

TEST(ScriptedRunUi, RecordsTheProgressWindowInOrder)
{
    ScriptedRunUi ui;
    ui.showProgress(u"Excel起動中"_s);
    ui.setProgressBarVisible(true);
    ui.setCancelEnabled(false);
    ui.setProgressCaption(u"比較中-1/3:売上"_s);
    ui.setProgressPercent(50);
    ui.setProgressPercent(100);
    ui.setProgressHidden(true);
    ui.closeProgress();
    EXPECT_EQ(ui.calls(),
              (QStringList{u"showProgress(Excel起動中)"_s, u"barVisible(1)"_s,
                           u"cancelEnabled(0)"_s, u"caption(比較中-1/3:売上)"_s, u"percent(50)"_s,
                           u"percent(100)"_s, u"hidden(1)"_s, u"closeProgress"_s}));
    EXPECT_EQ(ui.captions(), (QStringList{u"Excel起動中"_s, u"比較中-1/3:売上"_s}));
    EXPECT_EQ(ui.percents(), (QList<int>{50, 100}));
}

TEST(ScriptedRunUi, CancelsAtTheScriptedEventUntilCleared)
{
    ScriptedRunUi ui;
    ui.cancelAtEvent(2);
    ui.processEvents();
    EXPECT_FALSE(ui.cancelRequested());
    ui.processEvents();
    EXPECT_TRUE(ui.cancelRequested());
    ui.processEvents();
    EXPECT_TRUE(ui.cancelRequested());
    ui.clearCancel();
    EXPECT_FALSE(ui.cancelRequested());
    EXPECT_EQ(ui.eventCount(), 3);
}

TEST(ScriptedRunUi, AnswersPasswordsInTurnThenCancels)
{
    ScriptedRunUi ui;
    ui.answerPasswords({u"first"_s, u"second"_s});
    EXPECT_EQ(ui.askPassword(u"book.xls"_s, QString()), u"first"_s);
    EXPECT_EQ(ui.askPassword(u"book.xls"_s, u"first"_s), u"second"_s);
    EXPECT_EQ(ui.askPassword(u"book.xls"_s, u"second"_s), std::nullopt);
    EXPECT_EQ(ui.calls().at(1), u"password(book.xls,first)"_s);
}

TEST(ScriptedRunUi, AnswersMessagesAndKeepsThem)
{
    ScriptedRunUi ui;
    const RunMessage ok{u"本文"_s, u"題"_s, MessageIcon::Exclamation, MessageButtons::Ok, false};
    const RunMessage ask{u"続けますか"_s, u"確認"_s, MessageIcon::Question, MessageButtons::YesNo,
                         true};
    EXPECT_EQ(ui.showMessage(ask), MessageAnswer::Yes);
    ui.setAnswer(MessageAnswer::No);
    EXPECT_EQ(ui.showMessage(ok), MessageAnswer::Ok);
    EXPECT_EQ(ui.showMessage(ask), MessageAnswer::No);
    EXPECT_EQ(ui.messages(), (QList<RunMessage>{ask, ok, ask}));
    EXPECT_EQ(ui.calls().at(1), u"message(題|本文|Exclamation)"_s);

    ui.showErrorReport(u"報告"_s);
    EXPECT_EQ(ui.errorReports(), QStringList{u"報告"_s});
    EXPECT_EQ(ui.calls().last(), u"errorReport"_s);
}

TEST(ScriptedRunUi, FindsWindowsByTitleIgnoringCase)
{
    ScriptedRunUi ui;
    EXPECT_FALSE(ui.windowTitled(u"calc"_s));
    ui.setWindowTitles({u"Book1.xls - LibreOffice Calc"_s});
    EXPECT_TRUE(ui.windowTitled(u"libreoffice calc"_s));
    EXPECT_FALSE(ui.windowTitled(u"Writer"_s));
}

} // namespace
} // namespace brelix::support
