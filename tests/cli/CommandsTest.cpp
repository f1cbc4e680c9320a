#include "GTestPrinters.h"
#include "GridWorkbooks.h"
#include "InMemoryHostFactory.h"
#include "RunBench.h"
#include "TemporaryProgramFolder.h"
#include "TestData.h"
#include "cli/BrelixCommands.h"
#include "cli/CellsCommand.h"
#include "cli/DiffCommand.h"
#include "cli/GrepCommand.h"
#include "cli/PrintCommand.h"
#include "cli/TerminalRunUi.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <utility>

using namespace Qt::StringLiterals;
using brelix::host::CellContent;
using brelix::run::MessageAnswer;
using brelix::run::MessageButtons;
using brelix::run::RunMessage;
using brelix::support::gridSheet;
using brelix::support::InMemoryHost;
using brelix::support::WorkbookContent;
using brelix::support::workbookOf;

namespace brelix::cli {
namespace {

// No background office: the commands here never reach one.
class NoReadyOffice : public host::ReadyOfficeService {
public:
    bool keep(std::chrono::seconds) override { return false; }
    Status status() override { return {}; }
    bool stop() override { return false; }
};

// Qt's own warnings, which reach the terminal past the command's streams; but for the one
// about this test program having no application object, which brelix-cli has.
QStringList g_qtWarnings;

void keepQtWarning(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type != QtDebugMsg && type != QtInfoMsg && !text.startsWith(u"QCoreApplication::"_s))
        g_qtWarnings.append(text);
}

// A program's folder holding the template, where brelix-cli runs with its four commands on one
// in-memory office. Workbooks lie on disk, for the checks, and in the office's file table.
struct Scene {
    Scene()
    {
        put(u"Brelix_Format.xls"_s, WorkbookContent::withSheets({u"変更履歴"_s, u"Grep結果"_s}));
        put(u"Brelix.xls"_s, *factory.savedContent(path(u"Brelix_Format.xls"_s)));
    }
    QString path(const QString& name) const { return home.filePath(name); }
    void put(const QString& name, const WorkbookContent& content)
    {
        QDir().mkpath(QFileInfo(path(name)).path());
        if (name == u"Brelix_Format.xls"_s) // the runs read its bytes
            QFile::copy(QStringLiteral(BRELIX_BUILT_TEMPLATE), path(name));
        QFile(path(name)).open(QIODevice::WriteOnly | QIODevice::Append);
        factory.addFile(path(name), content);
    }
    void books(const WorkbookContent& first, const WorkbookContent& second)
    {
        put(u"Book1.xls"_s, first);
        put(u"Book2.xls"_s, second);
    }
    int run(const QStringList& arguments, QString input)
    {
        QTextStream in(&input);
        const auto factoryFor = [this](bool show) -> host::SpreadsheetHostFactory& {
            shows.append(show);
            return factory;
        };
        CliApplication cli;
        NoReadyOffice readyOffice;
        // One office unless --jobs says otherwise: the office that fails is then known.
        addBrelixCommands(cli, factory, factoryFor, in, false, false, readyOffice, 1);
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        const QString before = QDir::currentPath();
        QDir::setCurrent(home.path());
        g_qtWarnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(keepQtWarning);
        const int status = cli.run(QStringList{u"brelix-cli"_s} + arguments, outStream, errStream);
        qInstallMessageHandler(previous);
        QDir::setCurrent(before);
        EXPECT_EQ(g_qtWarnings, QStringList()) << arguments.join(u' ').toStdString();
        return status;
    }

    support::TemporaryProgramFolder home;
    support::InMemoryHostFactory factory;
    QList<bool> shows;
    QString out;
    QString err;
};

WorkbookContent protectedBook(support::SheetContent sheet)
{
    sheet.isProtected = true;
    sheet.password = u"pw"_s;
    return workbookOf({sheet});
}

// Sheets: "Data" with cells, hidden "Notes", "Locked" protected by "pw", an empty "Blank".
WorkbookContent sampleBook()
{
    WorkbookContent book =
        WorkbookContent::withSheets({u"Da\tta"_s, u"Notes"_s, u"Locked"_s, u"Blank"_s});
    support::SheetContent& data = book.sheets[0];
    data.setCell(1, 1, CellContent::ofText(u"name"_s));
    data.setCell(1, 3, CellContent::ofText(u"日本\t\\x\r\n"_s));
    data.setCell(2, 2, CellContent::ofNumber(1.5));
    CellContent sum = CellContent::ofNumber(3);
    sum.formula = u"=SUM(B2:B2)*2"_s;
    data.setCell(3, 1, sum);
    data.setCell(3, 2, CellContent::ofText(QString())); // empty text: not listed
    book.sheets[1].visible = false;
    book.sheets[1].setCell(2, 1, CellContent::ofBoolean(true));
    book.sheets[2].isProtected = true;
    book.sheets[2].password = u"pw"_s;
    book.sheets[2].setCell(1, 2, CellContent::ofText(u"secret"_s));
    return book;
}

WorkbookContent column(const QString& sheet, const QStringList& texts)
{
    WorkbookContent book = WorkbookContent::withSheets({sheet});
    for (int r = 0; r < texts.size(); ++r)
        book.sheets[0].setCell(r + 1, 1, CellContent::ofText(texts[r]));
    return book;
}

// How each way a command can end shows on its exit status, stdout and stderr.
// Two folders: a workbook the same in both, one changed at depth, one of each folder alone,
// one damaged in the second, a text that is no workbook; and links to the first, one inside.
void putFolders(Scene& s)
{
    const WorkbookContent same = workbookOf({gridSheet(u"S"_s, 2, 2)});
    for (const QString& name : {u"same.xls"_s, u"s/one.xls"_s, u"x/bad.xls"_s})
        s.put(u"d1/"_s + name, same);
    s.put(u"d2/same.xls"_s, same);
    s.put(u"d2/s/one.xls"_s, same);
    s.put(u"d1/a/b/deep.xlsx"_s, same);
    s.put(u"d2/a/b/deep.xlsx"_s, workbookOf({gridSheet(u"S"_s, 2, 2, {{1, 2}, {2, 1}})}));
    s.put(u"d1/gone.ods"_s, same);
    s.put(u"d2/a/new.csv"_s, same);
    for (const QString& name : {u"d2/x/bad.xls"_s, u"d1/a/readme.txt"_s}) {
        QDir().mkpath(QFileInfo(s.path(name)).path());
        QFile(s.path(name)).open(QIODevice::WriteOnly); // not in the office: it cannot open
    }
    QFile::link(s.path(u"d1"_s), s.path(u"link"_s));
    QFile::link(s.path(u"d1"_s), s.path(u"d1/a/loop"_s)); // never entered
}

TEST(CommandEndingsTest, EachEndingHasItsStatusAndOutput)
{
    static int outsidePresses = 0;
    const auto previous = std::signal(SIGINT, [](int) { ++outsidePresses; });
    // Setups: each makes the folder's workbooks, some arm the office too.
    const auto differences = [](Scene& s) {
        support::SheetContent second = gridSheet(u"売上\t月"_s, 2, 2, {{2, 1}});
        second.setCell(1, 2, CellContent::ofText(u"C:\\dir\r\nnext"_s));
        s.books(workbookOf({gridSheet(u"売上\t月"_s, 2, 2), gridSheet(u"経費"_s, 1, 1)}),
                workbookOf({second, gridSheet(u"経費"_s, 1, 1, {{1, 1}})}));
    };
    const auto books = [](const WorkbookContent& first, const WorkbookContent& second) {
        return [=](Scene& s) { s.books(first, second); };
    };
    const auto searchable = [](Scene& s) {
        s.put(u"b.xls"_s, column(u"S"_s, {u"Total"_s, u"net, total"_s}));
        s.put(u"sub/a.csv"_s, column(u"a"_s, {u"x"_s, u"subtotal"_s}));
    };
    const auto printable = [](Scene& s) {
        for (const QString& name : {u"a.xls"_s, u"b.xls"_s})
            s.put(name, WorkbookContent::withSheets({u"S"_s, u"T"_s, u"U"_s}));
    };
    const auto printingToPdf = [&](Scene& s) {
        printable(s);
        QDir(s.home.path()).mkdir(u"pdfs"_s);
        // The run sees the folder; afterwards it is as before (checked at the end).
        s.factory.onStart([&s](InMemoryHost&) {
            EXPECT_EQ(qgetenv("BRELIX_PDF_DIR"), QFile::encodeName(s.path(u"pdfs"_s)));
        });
    };
    const auto sample = [](Scene& s) { s.put(u"book.xls"_s, sampleBook()); };
    const auto longSheet = [](Scene& s) {
        WorkbookContent book = WorkbookContent::withSheets({u"Long"_s});
        for (int row = 1; row <= 600; ++row)
            book.sheets[0].setCell(row, 2, CellContent::ofNumber(row));
        s.put(u"long.ods"_s, book);
    };
    using Setup = std::function<void(Scene&)>;
    const std::map<QString, Setup> setups = {
        {u"none"_s, [](Scene&) {}},
        {u"folders"_s, putFolders},
        {u"differences"_s, differences},
        {u"same-books"_s,
         books(workbookOf({gridSheet(u"S"_s, 2, 2)}), workbookOf({gridSheet(u"S"_s, 2, 2)}))},
        {u"too-large"_s,
         books(workbookOf({gridSheet(u"S"_s, 100, 100)}), workbookOf({gridSheet(u"S"_s, 1, 1)}))},
        {u"locked-books"_s, books(protectedBook(gridSheet(u"S"_s, 2, 2)),
                                  protectedBook(gridSheet(u"S"_s, 2, 2, {{2, 2}})))},
        {u"searchable"_s, searchable},
        {u"printable"_s, printable},
        {u"printing-to-pdf"_s, printingToPdf},
        {u"sample"_s, sample},
        {u"long-sheet"_s, longSheet}};
    // A setup's words: a wrapper, then the setup it wraps and the wrapper's own words.
    const auto setupOf = [&](const QStringList& words) -> Setup {
        const Setup inner = setups.at(words.value(1, words[0]));
        // Each office fails at the second such call; when crashing, only the first, which ends.
        if (words[0] == u"failing" || words[0] == u"crashing") {
            const bool crash = words[0] == u"crashing";
            const auto kind = crash                        ? host::HostError::Kind::Unavailable
                              : words.value(3) == u"print" ? host::HostError::Kind::PrintFailed
                                                           : host::HostError::Kind::General;
            return [=, operation = words[2]](Scene& s) {
                inner(s);
                s.factory.onStart([=, first = std::make_shared<bool>(true)](InMemoryHost& h) {
                    if (std::exchange(*first, false) || !crash)
                        h.failOn(operation, 2, kind);
                });
            };
        }
        if (words[0] == u"ctrl-c")
            return [=](Scene& s) {
                inner(s);
                // Once, as the first office starts; others may start beside it.
                s.factory.onStart([&s](InMemoryHost&) {
                    if (s.factory.startCount() == 1)
                        std::raise(SIGINT);
                });
            };
        if (words[0] == u"handed-over")
            return [=](Scene& s) {
                inner(s);
                s.factory.setHandedOverInstanceOpen(true);
            };
        return inner;
    };
    const QByteArray pdfFolder = qgetenv("BRELIX_PDF_DIR");
    QString transcript;
    for (const QStringList& ending : support::caseRows(u"command-ending-runs.txt"_s)) {
        const QString& line = ending[0];
        SCOPED_TRACE(line.toStdString());
        Scene scene;
        setupOf(ending[1].split(u' '))(scene);
        const int status =
            scene.run(line.isEmpty() ? QStringList() : line.split(u' '), ending.value(2));
        transcript += u"== brelix-cli %1\nstatus %2, offices %3\nout:\n%4\nerr:\n%5\n"_s.arg(line)
                          .arg(status)
                          .arg(scene.factory.startCount())
                          .arg(QString(scene.out).replace(scene.home.path(), u"HOME"_s),
                               QString(scene.err).replace(scene.home.path(), u"HOME"_s));
        // Whatever way a command ends, no office is left running (one that crashed is gone).
        for (int i = 0; i < scene.factory.startCount(); ++i)
            EXPECT_FALSE(scene.factory.host(i).isAlive()) << i;
        EXPECT_TRUE(scene.shows.isEmpty() || scene.shows.last() == line.contains(u"--show"_s));
    }
    run::expectGolden(u"command-endings.txt"_s, transcript);
    EXPECT_EQ(qgetenv("BRELIX_PDF_DIR"), pdfFolder);
    // Ctrl+C reached none of the handler in place before, which is back now.
    EXPECT_EQ(outsidePresses, 0);
    std::raise(SIGINT);
    EXPECT_EQ(outsidePresses, 1);
    std::signal(SIGINT, previous);
}

// The sheets of the scene's saved change history, cell by cell.
QString historyDump(const Scene& scene)
{
    const WorkbookContent history = *scene.factory.savedContent(scene.path(u"Brelix.xls"_s));
    QString dump;
    for (const support::SheetContent& sheet : history.sheets) {
        dump += u"== "_s + sheet.name;
        int row = 0;
        for (const auto& [cell, content] : sheet.cells) {
            dump += std::exchange(row, cell.first) == cell.first ? u" | "_s : u"\n"_s;
            dump += content.type == CellContent::Type::Number ? QString::number(content.number)
                                                              : content.text;
        }
        dump += u"\n(%1 cells filled, %2 with lines)\n"_s.arg(sheet.fills.size())
                    .arg(sheet.borders.size());
    }
    return dump.replace(scene.home.path(), u"HOME"_s);
}

// The change history of two folders: every file with its status and number of differences,
// then the records of all, each led by its file, on the template's second sheet headed anew.
TEST(FolderComparisonTest, TheHistoryListsEveryFileThenTheRecordsOfEach)
{
    Scene scene;
    putFolders(scene);
    ASSERT_EQ(scene.run({u"diff"_s, u"d1"_s, u"d2"_s, u"--align"_s}, {}), 2);
    run::expectGolden(u"folder-history.txt"_s, historyDump(scene));
}

// Three offices give what one gives, a file that kills each office it is opened in failing
// alone; Ctrl+C ends every office. Four offices, the first pairs of two of them compared, are
// at work at once; one office never is beside another.
TEST(FolderComparisonTest, SeveralOfficesGiveWhatOneGives)
{
    QStringList runs;
    for (const QString& jobs : {u"1"_s, u"3"_s, u"3 ctrl-c"_s, u"4 steady"_s}) {
        Scene scene;
        putFolders(scene);
        int besideOthers = 0; // offices started while another was alive
        scene.factory.onStart([&, cancel = jobs.endsWith(u"ctrl-c"_s),
                               deadly = !jobs.endsWith(u"steady"_s)](InMemoryHost& h) {
            if (deadly)
                h.failOnCell(u"rangeTexts"_s, u"deep.xlsx"_s, 1, {1, 1},
                             host::HostError::Kind::Unavailable);
            for (int i = 0; i + 1 < scene.factory.startCount(); ++i)
                besideOthers += scene.factory.host(i).isAlive() ? 1 : 0;
            if (cancel && scene.factory.startCount() == 1)
                std::raise(SIGINT);
        });
        const int status = scene.run({u"diff"_s, u"d1"_s, u"d2"_s, u"--jobs"_s, jobs.left(1)}, {});
        runs.append(u"%1\n%2%3"_s.arg(status)
                        .arg(scene.out, scene.err)
                        .replace(scene.home.path(), u"HOME"_s));
        if (!jobs.endsWith(u"ctrl-c"_s))
            runs.last() += historyDump(scene);
        // Only one office or a steady four tell whether offices work side by side.
        EXPECT_TRUE(jobs.startsWith(u'3') || (besideOthers > 0) == (jobs != u"1"_s))
            << besideOthers;
        for (int i = 0; i < scene.factory.startCount(); ++i)
            EXPECT_FALSE(scene.factory.host(i).isAlive()) << jobs.toStdString() << i;
    }
    EXPECT_TRUE(runs[0].contains(u"a/b/deep.xlsx\tfailed: The instance ended at A1\n"
                                 u"a/new.csv\tadded"_s))
        << runs[0].toStdString();
    EXPECT_EQ(runs[1], runs[0]);
    EXPECT_EQ(runs[2], u"2\nユーザ中止要求: ｄｉｆｆを中止しました\n"_s);
    EXPECT_TRUE(runs[3].startsWith(u"2\na/b/deep.xlsx\tchanged 2\n"_s)) << runs[3].toStdString();
}

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

QString flag(bool value)
{
    return value ? u"1"_s : u"0"_s;
}

QStringList tokens(const OfficeJobCommand::JobOptions& job)
{
    return {u"password="_s + job.password.value_or(u"-"_s), u"show="_s + flag(job.show)};
}

// What each run receives, as "name=value" tokens.
// Columns by number, 1 being A.
QString numbers(const QList<int>& columns)
{
    QStringList texts;
    for (const int column : columns)
        texts.append(QString::number(column));
    return texts.join(u',');
}

QStringList pairingAndRules(const compare::DiffSettings& s)
{
    const compare::EqualityRules& r = s.equality;
    return {u"key="_s + numbers(s.keyColumns), u"by-name="_s + flag(s.bySheetName),
            u"rules="_s + flag(r.ignoreCase) + flag(r.ignoreWidth) + flag(r.ignoreBlanks),
            u"tolerance="_s + (r.tolerance ? QString::number(*r.tolerance) : u"-"_s),
            u"ignore="_s + numbers(r.ignoredColumns)};
}

QStringList tokens(const DiffCommand::Options& options)
{
    const compare::DiffSettings& s = options.settings;
    return QStringList{u"first="_s + s.firstPath,
                       u"second="_s + s.secondPath,
                       u"output="_s + s.outputPath,
                       u"template="_s + s.templatePath,
                       u"from="_s + s.startSheetText,
                       u"to="_s + s.lastSheetText,
                       u"formulas="_s + flag(s.byFormula),
                       u"layout=%1"_s.arg(static_cast<int>(s.layout)),
                       u"colour="_s + flag(s.colourDifferences),
                       u"seen="_s + flag(s.coloursSeen),
                       u"toolbars=%1"_s.arg(s.toolbarRows),
                       u"index=%1"_s.arg(s.diffColour),
                       u"align="_s + flag(s.alignRows)} +
           pairingAndRules(s) + tokens(options.job);
}

QStringList tokens(const GrepCommand::Options& options)
{
    const search::SearchSettings& s = options.settings;
    QStringList targets;
    for (const search::SearchTarget& target : s.targets)
        targets.append(target.fileName + u'=' + target.path);
    return QStringList{u"text="_s + s.searchText,        u"case="_s + flag(s.caseSensitive),
                       u"in="_s + targets.join(u','),    u"output="_s + s.outputPath,
                       u"template="_s + s.templatePath,  u"hits="_s + s.hitFilePath,
                       u"keep="_s + flag(s.keepHitFile), u"toolbars=%1"_s.arg(s.toolbarRows)} +
           tokens(options.job);
}

QStringList tokens(const PrintCommand::Options& options)
{
    QStringList files;
    for (const print::PrintEntry& entry : options.request.entries)
        files.append(entry.name + u'=' + entry.path + (entry.selected ? u""_s : u"-"_s));
    const std::optional<print::PrintScope> scope = options.request.scope;
    return {u"files="_s + files.join(u','),
            u"scope="_s + (scope ? QString::number(static_cast<int>(*scope)) : u"-"_s),
            u"pdf="_s + options.pdfFolder, u"yes="_s + flag(options.yes)};
}

QStringList tokens(const CellsCommand::Options& options)
{
    return {u"file="_s + options.file, u"formulas="_s + flag(options.formulas),
            u"password="_s + options.password.value_or(u"-"_s)};
}

// A command line read by `command`: the tokens of what its run receives, "help", or the usage
// error's problem. Each error is framed as every command frames it.
template <typename Command> QString parsed(const Command& command, const QStringList& arguments)
{
    typename Command::Options options;
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const std::optional<int> status = command.parse(arguments, options, outStream, errStream);
    outStream.flush();
    errStream.flush();
    if (!status)
        return tokens(options).join(u' ');
    if (*status == ExitSuccess && out == command.help() && err.isEmpty())
        return u"help"_s;
    const QString opening = u"brelix-cli "_s + command.name() + u": "_s;
    const QString problem = err.section(u'\n', 0, 0);
    EXPECT_EQ(*status, ExitUsage);
    EXPECT_TRUE(command.help().startsWith(err.mid(problem.size() + 1))) << err.toStdString();
    EXPECT_TRUE(out.isEmpty());
    return problem.startsWith(opening) ? u"usage: "_s + problem.mid(opening.size()) : err;
}

// Each command's options read into what its run receives. A row names the tokens it is about;
// the first of each command names them all. Relative names resolve in the folder the command
// line runs in, here the program's folder ("D").
TEST(CommandOptionsTest, EachCommandLineGivesItsRunTheseSettings)
{
    const support::TemporaryProgramFolder home;
    const QString folder = QDir(home.path()).canonicalPath();
    QDir(folder).mkdir(u"pdfs"_s);
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder);

    support::InMemoryHostFactory factory;
    QTextStream in(stdin);
    const auto factoryFor = [&](bool) -> host::SpreadsheetHostFactory& { return factory; };
    const DiffCommand diff(factoryFor, false);
    const GrepCommand grep(factoryFor, false);
    const PrintCommand print(factory, in, false, false);
    const CellsCommand cells(factory);
    const std::map<QString, std::function<QString(const QStringList&)>> commands = {
        {u"diff"_s, [&](const QStringList& a) { return parsed(diff, a); }},
        {u"grep"_s, [&](const QStringList& a) { return parsed(grep, a); }},
        {u"print"_s, [&](const QStringList& a) { return parsed(print, a); }},
        {u"cells"_s, [&](const QStringList& a) { return parsed(cells, a); }},
    };

    // Arguments are separated by one blank.
    // The golden file holds the command lines, each followed by what its run receives.
    QString transcript;
    for (const QStringList& row : support::caseRows(u"command-options.txt"_s)) {
        const QString& line = row[0];
        if (line.startsWith(u' '))
            continue;
        const QStringList words = line.split(u' ');
        QString received = commands.at(words[0])(words.mid(1));
        transcript += line + u"\n  "_s +
                      received.replace(folder, u"D"_s).replace(home.path(), u"D"_s) + u'\n';
    }
    run::expectGolden(u"command-options.txt"_s, transcript);
    EXPECT_EQ(factory.startCount(), 0);
    QDir::setCurrent(before);
}

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
    NoReadyOffice readyOffice;
    addBrelixCommands(cli, factory, factoryFor, in, false, false, readyOffice);

    for (const QString& name : {u"cells"_s, u"diff"_s, u"grep"_s, u"print"_s, u"office"_s}) {
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

// brelix-cli as a user starts it: its language follows the locale; C speaks Japanese.
TEST(CliLanguageTest, ARefusalAndTheHelpSpeakTheLocalesLanguage)
{
    QTemporaryDir other;
    const QString first = QStringLiteral(BRELIX_BUILT_TEMPLATE);
    const QString second = other.filePath(QFileInfo(first).fileName());
    ASSERT_TRUE(QFile::copy(first, second));
    const QRegularExpression japanese(u"[\u3001-\u30ff\u4e00-\u9fff\uff00-\uffef]"_s);
    const auto run = [](const QString& locale, const QStringList& arguments) {
        QProcess cli;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& name : {u"BRELIX_LANG"_s, u"LC_ALL"_s, u"LC_MESSAGES"_s})
            environment.remove(name);
        environment.insert(u"LANG"_s, locale);
        cli.setProcessEnvironment(environment);
        cli.start(QStringLiteral(BRELIX_CLI), arguments);
        EXPECT_TRUE(cli.waitForFinished(60000));
        return std::pair{cli.exitCode(), QString::fromUtf8(cli.readAllStandardError() +
                                                           cli.readAllStandardOutput())};
    };
    const QStringList diff{u"diff"_s, first, second};
    const auto [enStatus, english] = run(u"en_US.UTF-8"_s, diff);
    EXPECT_EQ(enStatus, 2);
    EXPECT_EQ(english, u"Stopped: Files with the same name cannot be compared\n\n"
                       u"Rename one of the files, then compare again\n"_s);
    EXPECT_TRUE(run(u"C"_s, {u"print"_s, u"--help"_s}).second.contains(u"最終確認"_s));
    for (const QString& command : {u"cells"_s, u"diff"_s, u"grep"_s, u"print"_s, u"office"_s})
        EXPECT_FALSE(run(u"de_DE.UTF-8"_s, {command, u"--help"_s}).second.contains(japanese))
            << command.toStdString();
}

} // namespace
} // namespace brelix::cli
