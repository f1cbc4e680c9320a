#include "core/run/ResultsWorkbook.h"

#include "core/files/ProgramFiles.h"
#include "core/files/WorkbookKind.h"
#include "core/run/UsedExtent.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace brelix::run {

namespace {

// The strip's outside without toolbars, in points: the window manager's frame, the menu bar,
// the formula bar, the column header and four rows, the sheet tabs and the status bar of the
// office's window, with a little to spare.
constexpr double kStripWithoutToolbars = 196;
constexpr double kToolbarRowHeight = 19.5;
constexpr double kGapAboveStrip = 3;

double stripHeight(int toolbarRows)
{
    return kStripWithoutToolbars + toolbarRows * kToolbarRowHeight;
}

} // namespace

bool ResultsWorkbook::canReplace(const QString& path)
{
    const QFileInfo file(path);
    if (!QFileInfo(file.absolutePath()).isWritable())
        return false;
    if (!file.exists())
        return true;
    // Marked read-only, it is kept even where the system would let us remove it.
    const auto writeBits = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return file.isFile() && file.isWritable() && (file.permissions() & writeBits);
}

std::optional<ResultsWorkbook::TemplateProblem>
ResultsWorkbook::templateProblem(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return TemplateProblem::Missing;
    if (!files::WorkbookKind::holdsSheets(path, files::kTemplateSheets))
        return TemplateProblem::Damaged;
    return std::nullopt;
}

void ResultsWorkbook::translateHeadings(Headings which)
{
    static const char* const history[] = {
        "No",
        QT_TRANSLATE_NOOP("ResultsWorkbook", "シート名"),
        QT_TRANSLATE_NOOP("ResultsWorkbook", "シートNo"),
        QT_TRANSLATE_NOOP("ResultsWorkbook", "セル"),
        QT_TRANSLATE_NOOP("ResultsWorkbook", "ファイル1"),
        QT_TRANSLATE_NOOP("ResultsWorkbook", "ファイル2"),
    };
    static const char* const search[] = {
        "No",
        QT_TRANSLATE_NOOP("ResultsWorkbook", "ファイル名"),
        QT_TRANSLATE_NOOP("ResultsWorkbook", "シート名"),
        QT_TRANSLATE_NOOP("ResultsWorkbook", "シートNo"),
        QT_TRANSLATE_NOOP("ResultsWorkbook", "セル"),
        QT_TRANSLATE_NOOP("ResultsWorkbook", "セルの値"),
    };
    QVariantList row;
    bool translated = false;
    for (const char* heading : which == Headings::ChangeHistory ? history : search) {
        const QString text = QCoreApplication::translate("ResultsWorkbook", heading);
        translated = translated || text != QString::fromUtf8(heading);
        row.append(text);
    }
    if (translated)
        callWith(m_failures, [&] { m_host.writeRows(m_book, 1, 1, 1, {row}); });
}

QString ResultsWorkbook::templateProblemText(TemplateProblem problem)
{
    return (problem == TemplateProblem::Missing
                ? QCoreApplication::translate("ResultsWorkbook", "%1 がありません")
                : QCoreApplication::translate("ResultsWorkbook", "%1 が壊れています"))
        .arg(files::kTemplateFile);
}

bool ResultsWorkbook::copyTemplate(const QString& templatePath, const QString& path)
{
    if (!canReplace(path))
        return false;
    QFile::remove(path); // a failure shows in the copy
    return QFile::copy(templatePath, path);
}

bool ResultsWorkbook::makeWritable(const QString& path)
{
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                           QFile::ReadOther);
}

host::WindowGeometry ResultsWorkbook::aboveStrip(const host::WindowGeometry& window,
                                                 int toolbarRows)
{
    host::WindowGeometry shortened = window;
    shortened.height = window.height - stripHeight(toolbarRows) - kGapAboveStrip;
    return shortened;
}

host::WindowGeometry ResultsWorkbook::strip(const host::WindowGeometry& arranged, double width,
                                            int toolbarRows)
{
    const double height = stripHeight(toolbarRows);
    return {arranged.top + arranged.height - height, arranged.left, width, height};
}

void ResultsWorkbook::placeStrip(const host::WindowGeometry& arranged, double width,
                                 int toolbarRows)
{
    callWith(m_failures,
             [&] { m_host.setWindowGeometry(m_book, strip(arranged, width, toolbarRows)); });
}

std::optional<host::CellPosition> ResultsWorkbook::measure(RunUi& ui, QString& password)
{
    callWith(m_failures, [&] { m_host.selectRange(m_book, 1, {{1, 1}, {1, 1}}); });
    return usedExtent(m_host, ui, password, m_book, 1);
}

void ResultsWorkbook::mark(const host::CellPosition& last, int nextRow, int fill, int sheet)
{
    const auto select = [&](const host::CellRange& range) {
        callWith(m_failures, [&] { m_host.selectRange(m_book, sheet, range); });
    };
    if (last.row > 2) {
        const host::CellRange records{{2, 1}, last};
        const host::CellRange numbers{{2, 1}, {last.row, 1}};
        select(records);
        callWith(m_failures, [&] { m_host.drawGrid(m_book, sheet, records); });
        select(numbers);
        callWith(m_failures, [&] { m_host.fillRange(m_book, sheet, numbers, fill); });
    } else if (last.row == 2 && nextRow != 2) {
        const host::CellRange record{{2, 1}, {2, 1}};
        select(record);
        callWith(m_failures, [&] { m_host.fillRange(m_book, sheet, record, fill); });
    }
}

void ResultsWorkbook::writeNote(int row, const QString& text, int sheet)
{
    callWith(m_failures, [&] { m_host.setCellValue(m_book, sheet, row, 2, text); });
    callWith(m_failures, [&] { m_host.setWrapText(m_book, sheet, row, 2, false); });
}

void ResultsWorkbook::save()
{
    callWith(m_failures, [&] { m_host.selectRange(m_book, 1, {{2, 1}, {2, 1}}); });
    m_host.saveWorkbook(m_book);
}

} // namespace brelix::run
