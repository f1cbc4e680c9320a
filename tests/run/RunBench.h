#pragma once

#include "GTestPrinters.h"
#include "InMemoryHostFactory.h"
#include "ScriptedRunUi.h"
#include "TestData.h"
#include "core/host/CellAddress.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <utility>

namespace brelix::run {

using namespace Qt::StringLiterals;

// What the user does while a run works.
struct UserScript {
    QStringList passwords{};       // the answers to the password questions, in turn
    int cancelAtEvent = 0;         // cancel is pressed while this event is processed
    bool officeHandedOver = false; // an office a run handed over is still open
};

// A folder of files, an in-memory office and a scripted screen for one run, and what the run
// left, as lines of text for a golden file.
class RunBench {
public:
    explicit RunBench(const UserScript& user)
    {
        m_ui.answerPasswords(user.passwords);
        m_ui.cancelAtEvent(user.cancelAtEvent);
        m_factory.setHandedOverInstanceOpen(user.officeHandedOver);
    }

    // A file in the folder, on disk for the run's checks and in the office's file table; none
    // when the content has no sheet.
    QString put(const QString& name, const support::WorkbookContent& content)
    {
        const QString path = QDir(m_dir.path()).filePath(name);
        if (!content.sheets.isEmpty()) {
            if (name == u"Brelix_Format.xls"_s) // the runs read its bytes
                QFile::copy(QStringLiteral(BRELIX_BUILT_TEMPLATE), path);
            QFile(path).open(QIODevice::WriteOnly | QIODevice::Append);
            m_factory.addFile(path, content);
        }
        return path;
    }
    // The run copies the template over the output on disk; the office's table follows.
    void copyTemplate(const QString& templatePath, const QString& outputPath)
    {
        if (const auto templ = m_factory.savedContent(templatePath))
            m_factory.addFile(outputPath, *templ);
    }
    // The result of an earlier run at `path`, read-only when told; then whether a run kept it.
    void putPreviousResult(const QString& path, bool readOnly)
    {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write("previous");
        file.close();
        if (readOnly)
            file.setPermissions(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    static QString previousResult(const QString& path)
    {
        if (QFile::exists(path + u".previous"_s))
            return u"previous result left aside\n"_s;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return u"previous result gone\n"_s;
        return file.readAll() == "previous" ? u"previous result kept\n"_s
                                            : u"previous result replaced\n"_s;
    }
    // The first `offices` offices fail at the `use`th use of the operation.
    void failInFirstOffice(const QString& operation,
                           host::HostError::Kind kind = host::HostError::Kind::General,
                           int offices = 1, int use = 1)
    {
        if (!operation.isEmpty())
            m_factory.onStart([=, this](support::InMemoryHost& office) {
                if (m_factory.startCount() <= offices)
                    office.failOn(operation, use, kind);
            });
    }
    // Every office ends as soon as it reads the first cell of the workbook.
    void killOfficesOn(const QString& book)
    {
        m_factory.onStart([=](support::InMemoryHost& office) {
            office.failOnCell(u"rangeTexts"_s, book, 1, {1, 1}, host::HostError::Kind::Unavailable);
        });
    }
    bool handedOver()
    {
        for (int i = 0; i < m_factory.startCount(); ++i)
            if (m_factory.host(i).state() == support::InMemoryHost::State::HandedOver)
                return true;
        return false;
    }

    // Everything the run showed, in order (the line breaks of messages as \r and \n), the
    // titles of messages that came in front of every window, how each office ended with the
    // windows it left open, and its calls of these operations and of its end.
    QString screenAndOffices(const QStringList& operations)
    {
        QString text = u"screen: "_s + m_ui.calls().join(u" / "_s);
        text.replace(u'\r', u"\\r"_s).replace(u'\n', u"\\n"_s);
        for (const RunMessage& message : m_ui.messages())
            if (message.foreground)
                text += u"\nin front: "_s + message.title;
        const QStringList states = {u"running"_s, u"handed over"_s, u"quit"_s};
        QList<support::PrintJob> printed;
        for (int i = 0; i < m_factory.startCount(); ++i)
            printed += m_factory.host(i).printJobs();
        std::sort(printed.begin(), printed.end(),
                  [](const auto& a, const auto& b) { return a.sequence < b.sequence; });
        if (!printed.isEmpty())
            text += u"\nprinted:"_s;
        for (const support::PrintJob& job : printed)
            text += u" %1:%2"_s.arg(job.book).arg(job.sheet);
        for (int i = 0; i < m_factory.startCount(); ++i) {
            support::InMemoryHost* office = &m_factory.host(i);
            text += u"\noffice: "_s + states[static_cast<int>(office->state())];
            for (const QString& book : office->openWorkbookNames()) {
                const host::WindowGeometry w = office->window(book);
                text += u", %1 %2,%3,%4,%5"_s.arg(book).arg(w.top).arg(w.left).arg(w.width).arg(
                    w.height);
            }
            QStringList calls;
            for (const QString& call : office->calls())
                for (const QString& operation : operations + QStringList{u"quit"_s, u"handOver"_s})
                    if (call.startsWith(operation + u'('))
                        calls.append(QString(call).remove(m_dir.path() + u'/'));
            text += u"\n  "_s + calls.mid(0, 15).join(u' ') +
                    (calls.size() > 15 ? u" (+%1 more)"_s.arg(calls.size() - 15) : QString());
        }
        return text + u'\n';
    }

    QTemporaryDir m_dir;
    support::InMemoryHostFactory m_factory;
    support::ScriptedRunUi m_ui;
    QString m_password;
};

// A sheet: its name, its cells row by row and its fills (the middle of a long sheet left out),
// and the rectangle its cell borders cover.
inline QString sheetText(const support::SheetContent& sheet)
{
    const int lastRow = sheet.cells.empty() ? 0 : sheet.cells.rbegin()->first.first;
    const auto shown = [&](int row) { return row <= 6 || row > lastRow - 3; };
    QMap<int, QString> rows;
    for (const auto& [key, cell] : sheet.cells)
        rows[key.first] += u" %1=%2"_s.arg(host::columnLetters(key.second),
                                           cell.type == host::CellContent::Type::Number
                                               ? QString::number(cell.number)
                                               : QString(cell.text).replace(u'\n', u"\\n"_s));
    QString text = u"sheet "_s + sheet.name + u'\n';
    bool elided = false;
    for (const auto& [row, line] : rows.asKeyValueRange()) {
        if (shown(row))
            text += u"  %1:%2\n"_s.arg(row).arg(line);
        else if (!std::exchange(elided, true))
            text += u"  ...\n"_s;
    }
    text += u"  fills:"_s;
    for (const auto& [key, fill] : sheet.fills)
        if (shown(key.first))
            text += u" %1=%2"_s.arg(host::cellAddress(key.first, key.second)).arg(fill);
    if (!sheet.borders.empty()) {
        const auto first = sheet.borders.begin()->first, last = sheet.borders.rbegin()->first;
        text += u"\n  grid: "_s + host::cellAddress(first.first, first.second) + u':' +
                host::cellAddress(last.first, last.second);
    }
    return text + u'\n';
}

// A transcript without what differs between one office and several: the offices, their calls
// and time-outs, and how often the window's events ran.
QString withoutOffices(const QString& transcript)
{
    QStringList lines;
    bool officeCalls = false;
    for (const QString& line : transcript.split(u'\n')) {
        if (std::exchange(officeCalls, line.startsWith(u"office: "_s)) || officeCalls ||
            line.startsWith(u"busy time-out"_s))
            continue;
        lines.append(QString(line).remove(u" / events"_s));
    }
    return lines.join(u'\n');
}

// The first items of a list and its last one.
template <typename T> QList<T> firstAndLast(const QList<T>& list, int first)
{
    return list.size() > first ? list.mid(0, first) << list.last() : list;
}

// Compares `actual` with the file of that name in tests/data. With BRELIX_UPDATE_GOLDEN set,
// writes the file instead, for a change that is meant to show (review its diff).
using support::expectGolden;

} // namespace brelix::run
