#include "core/compare/DiffBudget.h"

#include <QCoreApplication>

namespace brelix::compare {

namespace {

QString stoppedBeforeSheet()
{
    return QCoreApplication::translate("DiffBudget", "以下のシートまで比較が完了しました");
}

} // namespace

void DiffBudget::start()
{
    m_spent = 50;
    m_cutShortNote.clear();
    m_lastSheetCompared.clear();
}

bool DiffBudget::chargeSheetPair(qint64 rows, qint64 columns, int sheet, const QString& sheetName)
{
    m_spent += rows * columns * 2 + 50;
    if (!admitSheet())
        return false;
    m_lastSheetCompared = QCoreApplication::translate("DiffBudget", "シートNo=%1  /  シート名=%2")
                              .arg(sheet)
                              .arg(sheetName);
    return true;
}

bool DiffBudget::admitSheet()
{
    if (!exceeded())
        return true;
    m_cutShortNote = stoppedBeforeSheet();
    return false;
}

bool DiffBudget::chargeRecord()
{
    m_spent += 2;
    if (!exceeded())
        return true;
    m_cutShortNote =
        QCoreApplication::translate("DiffBudget", "以下のシートの途中まで比較が完了しました");
    return false;
}

} // namespace brelix::compare
