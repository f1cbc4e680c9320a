#include "cli/CliApplication.h"

#include "GTestPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::cli {
namespace {

class RecordingCommand : public CliCommand {
public:
    explicit RecordingCommand(QStringList* received)
        : CliCommand(u"echo"_s, u"Repeat the arguments"_s, u"Usage: brelix-cli echo ...\n"_s),
          m_received(received)
    {
    }
    QString description() const override { return QString(); }
    int run(const QStringList& arguments, QTextStream& out, QTextStream&) override
    {
        *m_received = arguments;
        out << arguments.join(u' ');
        return 7;
    }

private:
    QStringList* m_received;
};

class CliApplicationTest : public ::testing::Test {
protected:
    CliApplicationTest() { m_cli.addCommand(std::make_unique<RecordingCommand>(&m_received)); }

    int run(const QStringList& arguments)
    {
        QTextStream out(&m_out);
        QTextStream err(&m_err);
        return m_cli.run(QStringList{u"/usr/bin/brelix-cli"_s} + arguments, out, err);
    }

    CliApplication m_cli;
    QStringList m_received;
    QString m_out;
    QString m_err;
};

TEST_F(CliApplicationTest, RunsTheNamedCommandWithTheRestOfTheArguments)
{
    EXPECT_EQ(run({u"echo"_s, u"a b"_s, u"--x"_s}), 7);
    EXPECT_EQ(m_received, QStringList({u"a b"_s, u"--x"_s}));
    EXPECT_EQ(m_out, u"a b --x"_s);
}

TEST_F(CliApplicationTest, WithoutACommandPrintsTheUsageAndFails)
{
    EXPECT_EQ(run({}), 2);
    EXPECT_TRUE(m_err.startsWith(u"Usage: brelix-cli COMMAND"_s));
    EXPECT_TRUE(m_err.contains(u"echo"_s));
    EXPECT_EQ(m_out, QString());
}

TEST_F(CliApplicationTest, AnUnknownCommandFails)
{
    EXPECT_EQ(run({u"diff"_s, u"a.xls"_s}), 2);
    EXPECT_TRUE(m_err.startsWith(u"brelix-cli: unknown command 'diff'\n"_s));
    EXPECT_TRUE(m_received.isEmpty());
}

TEST_F(CliApplicationTest, HelpGoesToStandardOutput)
{
    EXPECT_EQ(run({u"--help"_s}), 0);
    EXPECT_TRUE(m_out.contains(u"echo      Repeat the arguments"_s));
    m_out.clear();
    EXPECT_EQ(run({u"help"_s, u"echo"_s}), 0);
    EXPECT_EQ(m_out, u"Usage: brelix-cli echo ...\n"_s);
    EXPECT_EQ(run({u"help"_s, u"nothing"_s}), 2);
    EXPECT_TRUE(m_received.isEmpty());
}

} // namespace
} // namespace brelix::cli
