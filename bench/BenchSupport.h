#pragma once

#include "core/files/ProgramFolder.h"
#include "core/run/ReadyOfficeFactory.h"
#include "core/run/RunUi.h"
#include "host/libreoffice/OfficeOptions.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace brelix::bench {

// Shows nothing and answers Yes: the run's own time only. Message titles are kept, error
// reports go to stderr.
class SilentRunUi : public run::RunUi {
public:
    void showProgress(const QString&) override {}
    void setProgressCaption(const QString&) override {}
    void setProgressBarVisible(bool) override {}
    void setProgressPercent(int) override {}
    void setCancelEnabled(bool) override {}
    void setProgressHidden(bool) override {}
    void closeProgress() override {}
    void processEvents() override {}
    void clearCancel() override {}
    bool cancelRequested() const override { return false; }
    std::optional<QString> askPassword(const QString&, const QString&) override { return {}; }
    run::MessageAnswer showMessage(const run::RunMessage& m) override
    {
        m_messages.append(m.title);
        return m.buttons == run::MessageButtons::YesNo ? run::MessageAnswer::Yes
                                                       : run::MessageAnswer::Ok;
    }
    void showErrorReport(const QString& text) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }

    QStringList m_messages;
};

template <typename F> double timeMs(F&& body)
{
    const auto start = std::chrono::steady_clock::now();
    body();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// The index-th command-line number (from 1), at least 1; `otherwise` when it is not given.
inline int countArgument(int argc, char** argv, int index, int otherwise)
{
    return argc > index ? std::max(1, QString::fromLocal8Bit(argv[index]).toInt()) : otherwise;
}

inline libreoffice::OfficeOptions headlessOffice()
{
    libreoffice::OfficeOptions options;
    options.display = libreoffice::OfficeOptions::Display::Headless;
    return options;
}

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// A whole process, as a user starts it: its wall time in ms; its standard output into `output`.
inline double processMs(const QString& program, const QStringList& arguments,
                        QByteArray* output = nullptr)
{
    QProcess process;
    return timeMs([&] {
        process.start(program, arguments);
        process.waitForFinished(-1);
        if (output)
            *output = process.readAllStandardOutput();
    });
}

// A writable copy of the program's template at `path`, a workbook to fill.
inline void copyTemplate(const QString& path)
{
    QFile::copy(files::programFile(QStringLiteral("Brelix_Format.xls")), path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

// Whether Gnumeric's `tool` (ssconvert, ssdiff, ssgrep) is installed.
inline bool hasGnumericTool(const char* tool)
{
    return !QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty();
}

// Converts a CSV into `target`, of the kind its name ends with (.xls or .xlsx), with Gnumeric's
// converter, which names the sheet after the CSV file.
inline bool convert(const QString& csv, const QString& target)
{
    const QString kind = QFileInfo(target).suffix();
    return QProcess::execute(
               QStringLiteral("ssconvert"),
               {QStringLiteral("--export-type=") +
                    (kind == QLatin1String("xls") ? QStringLiteral("Gnumeric_Excel:excel_biff8")
                                                  : QStringLiteral("Gnumeric_Excel:xlsx2")),
                csv, target}) == 0;
}

// brelix-cli beside the bench, in the build's folder of programs.
inline QString brelixCli()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/brelix-cli");
}

// Waits until `brelix-cli office` has `count` idle offices; its status line, or nothing in time.
inline QString waitForReadyOffice(int count = 1)
{
    for (int i = 0; i < 600; ++i) {
        QByteArray status;
        processMs(brelixCli(), {QStringLiteral("office"), QStringLiteral("status")}, &status);
        if (status.count("ready office process") >= count)
            return QString::fromLocal8Bit(status).trimmed();
        QThread::msleep(100);
    }
    return {};
}

// Times `job(factory, ui, password)` on an office kept ready as the window keeps it: each run
// takes an idle one, and none starts while it runs. Milliseconds of each run.
template <typename Job>
std::vector<double> onReadyOffice(host::SpreadsheetHostFactory& factory, int repetitions, Job job)
{
    std::vector<double> runs;
    run::ReadyOfficeFactory ready(factory);
    ready.setEnabled(true);
    for (int i = 0; i < repetitions; ++i) {
        ready.waitUntilReady(std::chrono::minutes(2));
        SilentRunUi ui;
        QString password;
        ready.holdBack(true);
        runs.push_back(timeMs([&] { job(ready, ui, password); }));
        ready.holdBack(false);
    }
    return runs;
}

} // namespace brelix::bench
