#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::cli {
namespace {

// brelix-cli itself on a real office, in a program folder of its own.
struct Cli {
    QTemporaryDir home;
    QString stderrText;

    QString path(const QString& name) const { return QDir(home.path()).filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
    int run(const QStringList& arguments)
    {
        QProcess cli;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"BRELIX_HOME"_s, home.path());
        cli.setProcessEnvironment(environment);
        cli.setWorkingDirectory(home.path());
        cli.start(QStringLiteral(BRELIX_CLI_PROGRAM), arguments);
        cli.waitForFinished(300000);
        stderrText = QString::fromUtf8(cli.readAllStandardError());
        return cli.exitCode();
    }
};

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Files that are no workbook of their kind, or hold what the office would not read whole, each
// with the reason every command must give: no command reads them as anything else.
TEST(CommandsOnOfficeTest, FilesTheOfficeCannotReadWholeAreRefusedByEveryCommand)
{
    Cli cli;
    const QByteArray templ = bytesOf(QStringLiteral(BRELIX_BUILT_TEMPLATE));
    cli.write(u"Brelix_Format.xls"_s, templ);
    cli.write(u"good.xls"_s, templ);
    QByteArray noise(20000, '\0');
    QRandomGenerator(12).fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
    const QList<std::pair<QString, QByteArray>> files = {
        {u"random.xls"_s, noise},
        {u"empty.xls"_s, {}},
        {u"empty.xlsx"_s, {}},
        {u"empty.ods"_s, {}},
        {u"cut.xls"_s, templ.left(templ.size() / 2)},
        {u"quoted.xlsx"_s, bytesOf(QStringLiteral(BRELIX_TEST_DATA_DIR "/made/quoted-sheet.xlsx"))},
        {u"long.csv"_s, "a," + QByteArray(70000, 'x') + "\r\n"},
    };
    const QStringList reasons = {u"not those of an .xls"_s,
                                 u"not those of an .xls"_s,
                                 u"not those of an .xlsx"_s,
                                 u"not those of an .ods"_s,
                                 u"cut short"_s,
                                 u"read only 1 of the 2 worksheets"_s,
                                 u"longer than 65535 characters"_s};
    QStringList names;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const auto& [name, bytes] = files[i];
        SCOPED_TRACE(name.toStdString());
        cli.write(name, bytes);
        names.append(name);
        EXPECT_EQ(cli.run({u"cells"_s, name}), 2);
        EXPECT_TRUE(cli.stderrText.contains(u"cannot open "_s + name))
            << cli.stderrText.toStdString();
        EXPECT_TRUE(cli.stderrText.contains(reasons[i])) << cli.stderrText.toStdString();
        if (!name.startsWith(u"empty"_s) && name != u"cut.xls"_s) { // the same refusal
            EXPECT_EQ(cli.run({u"diff"_s, u"good.xls"_s, name}), 2);
            EXPECT_TRUE(cli.stderrText.contains(reasons[i])) << cli.stderrText.toStdString();
        }
    }

    // One search and one print over all of them and a good file: each is named, none passes.
    EXPECT_EQ(cli.run(QStringList{u"grep"_s, u"No"_s, u"good.xls"_s} + names), 0);
    EXPECT_TRUE(cli.stderrText.contains(u"検索できませんでした\n\n"_s + names.join(u'\n')))
        << cli.stderrText.toStdString();
    EXPECT_EQ(cli.run(QStringList{u"print"_s, u"--scope"_s, u"3"_s, u"--yes"_s, u"--pdf"_s,
                                  cli.home.path(), u"good.xls"_s} +
                      names),
              1);
    for (const QString& name : names)
        EXPECT_TRUE(cli.stderrText.contains(u"brelix-cli print: "_s + name + u": "_s))
            << name.toStdString();
    EXPECT_EQ(QDir(cli.home.path()).entryList({u"*.pdf"_s}).join(u' '), u"good-変更履歴.pdf"_s);

    // A damaged template is named before anything starts, and no results are written.
    cli.write(u"Brelix_Format.xls"_s, noise);
    QFile::remove(cli.path(u"Brelix.xls"_s));
    EXPECT_EQ(cli.run({u"grep"_s, u"No"_s, u"good.xls"_s}), 2);
    EXPECT_TRUE(cli.stderrText.contains(u"Brelix_Format.xls が壊れています"_s));
    EXPECT_FALSE(QFile::exists(cli.path(u"Brelix.xls"_s)));
}

} // namespace
} // namespace brelix::cli
