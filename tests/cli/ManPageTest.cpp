#include "InMemoryHostFactory.h"
#include "cli/BrelixCommands.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::cli {
namespace {

// The manual page is written by hand; this keeps it in step with the commands' own help.
TEST(ManPageTest, EachCommandHasASectionWithEveryOptionOfItsHelp)
{
    QFile file(QStringLiteral(BRELIX_MAN_PAGE));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << BRELIX_MAN_PAGE;
    // roff writes a minus as \-; the text is compared as a reader sees it.
    const QString page = QString::fromUtf8(file.readAll()).replace(u"\\-"_s, u"-"_s);
    support::InMemoryHostFactory factory;
    QTextStream in(stdin);
    const auto factoryFor = [&](bool) -> host::SpreadsheetHostFactory& { return factory; };
    CliApplication cli;
    addBrelixCommands(cli, factory, factoryFor, in, false, false);

    for (const QString& name : {u"cells"_s, u"diff"_s, u"grep"_s, u"print"_s}) {
        SCOPED_TRACE(name.toStdString());
        QString help;
        QTextStream out(&help);
        QTextStream err(stderr);
        ASSERT_EQ(cli.run({u"brelix-cli"_s, u"help"_s, name}, out, err), 0);
        out.flush();
        EXPECT_TRUE(page.contains(u".B brelix-cli "_s + name + u'\n'));
        const qsizetype section = page.indexOf(u".SS \""_s + name + u' ');
        ASSERT_GE(section, 0);
        const qsizetype end = page.indexOf(u"\n.SS "_s, section + 1);
        const QString text = page.mid(section, end < 0 ? -1 : end - section);
        static const QRegularExpression option(u"(?<![\\w-])--[a-z][a-z-]*"_s);
        int options = 0;
        for (const QRegularExpressionMatch& m : option.globalMatch(help)) {
            ++options;
            if (m.captured() != u"--help"_s) {
                EXPECT_TRUE(text.contains(m.captured())) << m.captured().toStdString();
            }
        }
        EXPECT_GE(options, 3);
        // Each section closes with the exit statuses, as the help does.
        EXPECT_TRUE(help.contains(u"\nExit status: 0 when"_s));
        EXPECT_TRUE(text.contains(u".B Exit status"_s));
    }

    const QString usage = cli.usage();
    for (const QString& variable : {u"BRELIX_HOME"_s, u"BRELIX_PDF_DIR"_s, u"XDG_DATA_HOME"_s}) {
        EXPECT_TRUE(usage.contains(u"\n  "_s + variable + u' ')) << variable.toStdString();
        EXPECT_TRUE(page.contains(u".B "_s + variable + u'\n')) << variable.toStdString();
    }
    EXPECT_TRUE(page.contains(u"~/.local/share/Brelix"_s));
    EXPECT_TRUE(usage.contains(u"~/.local/share/Brelix"_s));
}

} // namespace
} // namespace brelix::cli
