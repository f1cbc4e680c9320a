#include "core/compare/ChangeHistory.h"

#include "core/host/CellAddress.h"
#include "core/host/HostError.h"
#include "core/run/RunFailure.h"
#include "core/run/UsedExtent.h"

#include <QFile>

namespace brelix::compare {

using run::RunFailure;

void ChangeHistory::replaceWithTemplate()
{
    QFile::remove(m_state.settings.outputPath); // failures show in the copy
    if (!QFile::copy(m_state.settings.templatePath, m_state.settings.outputPath))
        throw RunFailure(RunFailure::FileAccess,
                         QStringLiteral("%1 could not be copied to %2")
                             .arg(m_state.settings.templatePath, m_state.settings.outputPath));
}

void ChangeHistory::clearAttributes()
{
    // A template installed read-only must not make a read-only result.
    const auto normal = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    if (!QFile::setPermissions(m_state.settings.outputPath, normal))
        throw RunFailure(
            RunFailure::FileAccess,
            QStringLiteral("%1 could not be made writable").arg(m_state.settings.outputPath));
}

void ChangeHistory::open()
{
    m_host.openWorkbook(m_state.settings.outputPath);
}

bool ChangeHistory::finish()
{
    const QString& output = m_state.outputName;
    m_ui.setProgressCaption(QStringLiteral("変更履歴作成中"));
    m_ui.setCancelEnabled(false);
    m_ui.processEvents();
    m_host.activateWorkbook(m_state.firstName);
    m_host.activateSheet(m_state.firstName, 1);
    m_host.activateWorkbook(m_state.secondName);
    m_host.activateSheet(m_state.secondName, 1);
    m_host.activateWorkbook(output);
    m_host.activateSheet(output, 1);

    m_state.trap = 201;
    try {
        m_host.setSheetName(output, 1,
                            changeHistorySheetName(m_state.firstName, m_state.secondName));
    } catch (const host::HostError&) {
        // A name the office refuses leaves the template's.
    }

    m_state.trap = 202;
    m_host.selectRange(output, 1, {{1, 1}, {1, 1}});
    const std::optional<host::CellPosition> last = usedExtent(m_host, m_ui, m_password, output, 1);
    if (!last)
        return false;
    m_state.row = last->row;
    m_state.column = last->column;
    mark();

    m_state.trap = 203;
    writeNotes();
    m_host.deleteSheet(output, QStringLiteral("Grep結果"));
    m_host.selectRange(output, 1, {{2, 1}, {2, 1}});
    m_host.saveWorkbook(output);

    m_state.trap = 204;
    m_host.setVisible(true);

    m_state.trap = 205;
    m_host.handOver();
    return true;
}

void ChangeHistory::mark()
{
    const QString& output = m_state.outputName;
    const int rows = m_state.row;
    const int fill = m_state.byValue ? 6 : 4;
    if (rows > 2) {
        m_host.selectRange(output, 1, {{2, 1}, {rows, m_state.column}});
        m_host.drawGrid(output, 1, {{2, 1}, {rows, m_state.column}});
        m_host.selectRange(output, 1, {{2, 1}, {rows, 1}});
        m_host.fillRange(output, 1, {{2, 1}, {rows, 1}}, fill);
    } else if (rows == 2 && m_state.outputRow != 2) {
        m_host.selectRange(output, 1, {{2, 1}, {2, 1}});
        m_host.fillRange(output, 1, {{2, 1}, {2, 1}}, fill);
    }
}

void ChangeHistory::writeNotes()
{
    if (m_state.hiddenSheet) {
        m_state.outputRow += 1;
        note(m_state.outputRow,
             QStringLiteral("非表示のシートがありました。非表示シートは比較していません。"));
    }
    if (m_state.cutShort()) {
        note(m_state.outputRow + 1,
             QStringLiteral("ファイルが大きすぎて、全て比較できませんでした。"));
        note(m_state.outputRow + 2, m_state.cutReason);
        note(m_state.outputRow + 3, m_state.lastSheetInfo);
    }
}

void ChangeHistory::note(int row, const QString& text)
{
    m_host.activateWorkbook(m_state.outputName);
    m_host.setCellValue(m_state.outputName, 1, row, 2, text);
    m_host.setWrapText(m_state.outputName, 1, row, 2, false);
}

} // namespace brelix::compare
