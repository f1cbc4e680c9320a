#include "cli/TerminalRunUi.h"

#include "GTestPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::run::MessageAnswer;
using brelix::run::MessageButtons;
using brelix::run::RunMessage;

namespace brelix::cli {
namespace {

// What the commands' tests cannot see: a terminal on stderr, and one on stdin.
TEST(TerminalRunUiTest, OnATerminalTheProgressIsOneLineRedrawnAroundTheMessages)
{
    QString err;
    QTextStream stream(&err);
    TerminalRunUi ui(stream, true, std::nullopt);
    ui.showProgress(u"起動中"_s);
    ui.setProgressPercent(10); // the bar is still hidden: nothing changes on screen
    ui.setProgressBarVisible(true);
    ui.setProgressPercent(10);
    ui.setProgressPercent(55);
    ui.showMessage({u"a\r\nb"_s, u"T"_s});
    ui.setProgressCaption(QString(50, u'x')); // cut, so that the line does not wrap
    ui.setProgressHidden(true);
    ui.setProgressHidden(false);

    RunMessage question{u"宜しいですか？"_s, u"最終確認"_s};
    question.buttons = MessageButtons::YesNo;
    QString typed = u" Y \n"_s;
    QTextStream in(&typed);
    ui.askQuestionsOn(in, true); // the terminal shows the answer and its line end itself
    EXPECT_EQ(ui.showMessage(question), MessageAnswer::Yes);
    ui.closeProgress();
    stream.flush();
    const QString cut = QString(29, u'x') + u"…   55%"_s;
    EXPECT_EQ(err, u"\r起動中\x1b[K\r起動中   10%\x1b[K\r起動中   55%\x1b[K"
                   u"\r\x1b[KT: a\nb\n\r起動中   55%\x1b[K"
                   u"\r"_s +
                       cut + u"\x1b[K\r\x1b[K\r"_s + cut +
                       u"\x1b[K\r\x1b[K最終確認: 宜しいですか？ [y/N] \r"_s + cut +
                       u"\x1b[K\r\x1b[K"_s);
}

} // namespace
} // namespace brelix::cli
