#pragma once

#include "core/compare/DiffRunState.h"
#include "core/compare/SheetAlignment.h"
#include "core/compare/SheetPair.h"
#include "core/host/SpreadsheetHost.h"
#include "core/run/RunUi.h"

#include <optional>

namespace brelix::compare {

// Compares a sheet pair by matched rows and columns: it reads both sheets whole, matches their
// rows by content (SheetAlignment) or by key (KeyedRowMatcher) and their columns by content or
// by place, and records, in the order of the matched rows and from left to right, every changed
// cell with both its addresses and every non-empty cell of an inserted or deleted row or column.
// Rows and columns are matched on the texts as the rules of equality fold them. Budget, progress
// and cancel go by the matched rows as a comparison by position goes by rows: the sheet pair was
// charged before, a record costs 2 and a colouring 6, and once the budget is spent each remaining
// matched row records its first difference only.
class AlignedSheetComparer {
public:
    // Inserted cells are coloured in the second workbook, deleted ones in the first; both
    // apart from the changed cells' colour.
    static constexpr int kInsertedColour = 35; // light green
    static constexpr int kDeletedColour = 22;  // coral

    AlignedSheetComparer(host::SpreadsheetHost& host, run::RunUi& ui, DiffRunState& state)
        : m_host(host), m_ui(ui), m_state(state), m_inputs(state.inputs)
    {
    }

    void compare(const SheetPair& sheets, const QString& sheetName);

private:
    // The matched rows and the matched columns.
    std::pair<QList<LinePair>, QList<LinePair>> match(const SheetTexts& first,
                                                      const SheetTexts& second) const;
    void compareRow(const LinePair& row, const QList<LinePair>& columns, const QStringList& a,
                    const QStringList& b);
    // False when the run was cancelled while reading.
    bool read(SheetTexts& first, SheetTexts& second);
    // False once the budget has run out.
    bool record(ChangeKind kind, std::optional<host::CellPosition> firstCell,
                std::optional<host::CellPosition> secondCell, const QString& firstText,
                const QString& secondText);
    void flush();

    host::SpreadsheetHost& m_host;
    run::RunUi& m_ui;
    DiffRunState& m_state;
    const DiffInputs& m_inputs;
    QString m_sheetName;
    SheetPair m_sheets;
    QList<host::CellPosition> m_changedFirst; // a changed cell's place in each workbook
    QList<host::CellPosition> m_changedSecond;
    QList<host::CellPosition> m_inserted;
    QList<host::CellPosition> m_deleted;
    QList<QVariantList> m_toWrite;
    int m_writeRow = 0;
};

} // namespace brelix::compare
