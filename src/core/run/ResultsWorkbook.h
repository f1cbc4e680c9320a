#pragma once

#include "core/host/CellRange.h"
#include "core/host/SpreadsheetHost.h"
#include "core/run/HostFailures.h"
#include "core/run/RunUi.h"

#include <optional>

namespace brelix::run {

// The workbook a run leaves open for the user (the change history, the search results): a fresh
// copy of the template whose first sheet lists one record per row from row 2, shown as a low
// strip below the workbooks it speaks of. Its calls fail as the run's policy says; measuring and
// saving always pass their failures through.
class ResultsWorkbook {
public:
    ResultsWorkbook(host::SpreadsheetHost& host, const QString& book, HostFailures failures)
        : m_host(host), m_book(book), m_failures(failures)
    {
    }

    enum class TemplateProblem { Missing, Damaged };
    // Why the template at `path` cannot make a results workbook: it is missing, or it is no
    // BIFF8 workbook with the two sheets the results go into.
    static std::optional<TemplateProblem> templateProblem(const QString& path);
    // What the user is told of it ("Brelix_Format.xls がありません").
    static QString templateProblemText(TemplateProblem problem);

    // Can the file at `path` be made or replaced? Not when its folder cannot be written, nor
    // when it is a folder or a file the user made read-only.
    static bool canReplace(const QString& path);
    // Replaces the file at `path` with a copy of the template; false when it cannot.
    static bool copyTemplate(const QString& templatePath, const QString& path);
    // A template installed read-only must not make a read-only result.
    static bool makeWritable(const QString& path);

    // A workbook window `window` shortened to leave room for the strip below it, with
    // `toolbarRows` rows of toolbars that the user says the office shows in each window.
    static host::WindowGeometry aboveStrip(const host::WindowGeometry& window, int toolbarRows);
    // The strip, `width` wide along the bottom of `arranged`: high enough for the office's
    // window with its toolbars to show the column header and at least four rows.
    static host::WindowGeometry strip(const host::WindowGeometry& arranged, double width,
                                      int toolbarRows);
    void placeStrip(const host::WindowGeometry& arranged, double width, int toolbarRows);

    // The last used cell of the first sheet, with A1 selected; nothing when the sheet is
    // protected and no working password was given (see usedExtent).
    std::optional<host::CellPosition> measure(RunUi& ui, QString& password);
    // Grid lines around the records up to `last` and `fill` in their first column. A sheet
    // used down to row 2 only gets the fill, and only when a record was written there
    // (`nextRow`, the row after the last record, is past 2).
    void mark(const host::CellPosition& last, int nextRow, int fill, int sheet = 1);
    // A line of text in column B that runs over its neighbours instead of wrapping.
    void writeNote(int row, const QString& text, int sheet = 1);
    enum class Headings { ChangeHistory, SearchResults };
    // The template's headings of the first sheet in the language of the texts, written over
    // the template's own only where that language is not the template's.
    void translateHeadings(Headings which);
    // Saves it with A2 selected.
    void save();

private:
    host::SpreadsheetHost& m_host;
    QString m_book;
    HostFailures m_failures;
};

} // namespace brelix::run
