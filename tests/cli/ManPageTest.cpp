#include "InMemoryHostFactory.h"
#include "cli/CellsCommand.h"
#include "cli/CliApplication.h"
#include "cli/DiffCommand.h"
#include "cli/GrepCommand.h"
#include "cli/PrintCommand.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::cli {
namespace {

// The manual page is written by hand; these cases keep it in step with the commands' own help.
class ManPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile file(QStringLiteral(BRELIX_MAN_PAGE));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << BRELIX_MAN_PAGE;
        // roff writes a minus as \-; the text is compared as a reader sees it.
        m_page = QString::fromUtf8(file.readAll()).replace(u"\\-"_s, u"-"_s);
        m_commands.push_back(std::make_unique<CellsCommand>(m_factory));
        m_commands.push_back(std::make_unique<DiffCommand>(
            [this](bool) -> host::SpreadsheetHostFactory& { return m_factory; }, false));
        m_commands.push_back(std::make_unique<GrepCommand>(
            [this](bool) -> host::SpreadsheetHostFactory& { return m_factory; }, false));
        m_commands.push_back(std::make_unique<PrintCommand>(m_factory, m_in, false, false));
    }

    // Every "--name" a help text mentions.
    static QStringList options(const QString& help)
    {
        QStringList found;
        static const QRegularExpression option(u"(?<![\\w-])--[a-z][a-z-]*"_s);
        for (const QRegularExpressionMatch& m : option.globalMatch(help))
            if (!found.contains(m.captured()))
                found.append(m.captured());
        return found;
    }

    support::InMemoryHostFactory m_factory;
    QTextStream m_in{stdin};
    std::vector<std::unique_ptr<CliCommand>> m_commands;
    QString m_page;
};

TEST_F(ManPageTest, EachCommandHasASectionWithEveryOptionOfItsHelp)
{
    for (const auto& command : m_commands) {
        SCOPED_TRACE(command->name().toStdString());
        const qsizetype section = m_page.indexOf(u".SS \""_s + command->name() + u' ');
        ASSERT_GE(section, 0);
        const qsizetype end = m_page.indexOf(u"\n.SS "_s, section + 1);
        const QString text = m_page.mid(section, end < 0 ? -1 : end - section);
        const QStringList helpOptions = options(command->help());
        EXPECT_GE(helpOptions.size(), 2);
        for (const QString& option : helpOptions) {
            if (option != u"--help"_s) {
                EXPECT_TRUE(text.contains(option)) << option.toStdString();
            }
        }
        // Each section closes with the exit statuses, as the help does.
        EXPECT_TRUE(command->help().contains(u"Exit status"_s));
        EXPECT_TRUE(text.contains(u".B Exit status"_s));
    }
}

TEST_F(ManPageTest, TheSynopsisAndTheGeneralHelpAgree)
{
    for (const auto& command : m_commands)
        EXPECT_TRUE(m_page.contains(u".B brelix-cli "_s + command->name() + u'\n'))
            << command->name().toStdString();

    CliApplication cli;
    const QString usage = cli.usage();
    for (const QString& variable : {u"BRELIX_HOME"_s, u"BRELIX_PDF_DIR"_s, u"XDG_DATA_HOME"_s}) {
        EXPECT_TRUE(usage.contains(u"\n  "_s + variable + u' ')) << variable.toStdString();
        EXPECT_TRUE(m_page.contains(u".B "_s + variable + u'\n')) << variable.toStdString();
    }
    EXPECT_TRUE(m_page.contains(u"~/.local/share/Brelix"_s));
    EXPECT_TRUE(usage.contains(u"~/.local/share/Brelix"_s));
}

} // namespace
} // namespace brelix::cli
