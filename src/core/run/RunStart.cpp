#include "core/run/RunStart.h"

namespace brelix::run {

bool refuseWhileOfficeOpen(RunUi& ui, host::SpreadsheetHostFactory& factory)
{
    if (!factory.handedOverInstanceOpen())
        return false;
    ui.showMessage({QStringLiteral("Excelを終了してから実行して下さい"),
                    QStringLiteral("Excel起動中"), MessageIcon::Exclamation});
    return true;
}

void showOfficeStarting(RunUi& ui)
{
    ui.clearCancel();
    ui.showProgress(QStringLiteral("Excel起動中"));
    ui.processEvents();
}

} // namespace brelix::run
