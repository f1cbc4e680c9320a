#include "cli/TerminalRunUi.h"

#include "GTestPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::run::MessageAnswer;
using brelix::run::MessageButtons;
using brelix::run::RunMessage;

namespace brelix::cli {
namespace {

class TerminalRunUiTest : public ::testing::Test {
protected:
    TerminalRunUi& ui(bool progressLine, std::optional<QString> password = std::nullopt)
    {
        m_ui.emplace(m_stream, progressLine, std::move(password));
        return *m_ui;
    }
    QString written()
    {
        m_stream.flush();
        return m_err;
    }

    QString m_err;
    QTextStream m_stream{&m_err};
    std::optional<TerminalRunUi> m_ui;
};

// --- the progress line ----------------------------------------------------------------------

TEST_F(TerminalRunUiTest, WithoutATerminalProgressWritesNothing)
{
    TerminalRunUi& u = ui(false);
    u.showProgress(u"Excel起動中"_s);
    u.setProgressBarVisible(true);
    u.setProgressPercent(40);
    u.closeProgress();
    EXPECT_EQ(written(), QString());
}

TEST_F(TerminalRunUiTest, OnATerminalOneLineIsRedrawnInPlaceAndClearedAtTheEnd)
{
    TerminalRunUi& u = ui(true);
    u.showProgress(u"Excel起動中"_s);
    u.setProgressPercent(10); // bar still hidden: nothing changes on screen
    u.setProgressBarVisible(true);
    u.setProgressPercent(10);
    u.setProgressPercent(55);
    u.setProgressCaption(u"比較中-1/1:S"_s);
    u.closeProgress();
    EXPECT_EQ(written(), u"\rExcel起動中\x1b[K"
                         u"\rExcel起動中   10%\x1b[K"
                         u"\rExcel起動中   55%\x1b[K"
                         u"\r比較中-1/1:S   55%\x1b[K"
                         u"\r\x1b[K"_s);
}

TEST_F(TerminalRunUiTest, ALongCaptionIsCutSoTheLineDoesNotWrap)
{
    ui(true).showProgress(QString(50, u'x'));
    EXPECT_EQ(written(), u"\r"_s + QString(29, u'x') + u"…\x1b[K"_s);
}

TEST_F(TerminalRunUiTest, AMessageLandsOnItsOwnLineAndTheProgressComesBack)
{
    TerminalRunUi& u = ui(true);
    u.showProgress(u"P"_s);
    u.showMessage({u"a\r\nb"_s, u"T"_s});
    EXPECT_EQ(written(), u"\rP\x1b[K\r\x1b[KT: a\nb\n\rP\x1b[K"_s);
}

// Prompts, messages and Ctrl+C are exercised through "diff" in DiffCommandTest.
TEST_F(TerminalRunUiTest, AQuestionIsAnsweredNoAsNobodyCanBeAsked)
{
    RunMessage question{u"?"_s, u"Q"_s};
    question.buttons = MessageButtons::YesNo;
    EXPECT_EQ(ui(false).showMessage(question), MessageAnswer::No);
    EXPECT_EQ(written(), u"Q: ?\n"_s);
}

TEST_F(TerminalRunUiTest, AQuestionIsAskedOnTheInputWhenOneIsGiven)
{
    RunMessage question{u"宜しいですか？"_s, u"最終確認"_s};
    question.buttons = MessageButtons::YesNo;
    QString typed = u"y\nYes \nno\n\n"_s;
    QTextStream in(&typed);
    TerminalRunUi& u = ui(false);
    u.askQuestionsOn(in, false);
    EXPECT_EQ(u.showMessage(question), MessageAnswer::Yes);
    EXPECT_EQ(u.showMessage(question), MessageAnswer::Yes);
    EXPECT_EQ(u.showMessage(question), MessageAnswer::No);
    EXPECT_EQ(u.showMessage(question), MessageAnswer::No);
    EXPECT_EQ(u.showMessage(question), MessageAnswer::No); // the input has ended
    EXPECT_EQ(written(),
              u"最終確認: 宜しいですか？ [y/N] y\n"_s + u"最終確認: 宜しいですか？ [y/N] Yes \n"_s +
                  u"最終確認: 宜しいですか？ [y/N] no\n"_s +
                  u"最終確認: 宜しいですか？ [y/N] \n"_s + u"最終確認: 宜しいですか？ [y/N] \n"_s);
    // On a terminal the typed answer and its line end are already on the screen.
    m_err.clear();
    QString more = u"y\n"_s;
    QTextStream terminal(&more);
    u.askQuestionsOn(terminal, true);
    EXPECT_EQ(u.showMessage(question), MessageAnswer::Yes);
    EXPECT_EQ(u.showMessage({u"done"_s, u"T"_s}), MessageAnswer::Ok);
    EXPECT_EQ(written(), u"最終確認: 宜しいですか？ [y/N] T: done\n"_s);
}

} // namespace
} // namespace brelix::cli
