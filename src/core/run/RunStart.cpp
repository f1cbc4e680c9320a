#include "core/run/RunStart.h"

namespace brelix::run {

bool refuseWhileOfficeOpen(RunUi& ui, host::SpreadsheetHostFactory& factory)
{
    if (!factory.handedOverInstanceOpen())
        return false;
    ui.showMessage({QStringLiteral("Brelix が開いた LibreOffice を閉じてから実行して下さい"),
                    QStringLiteral("LibreOffice起動中"), MessageIcon::Exclamation});
    return true;
}

void showOfficeStarting(RunUi& ui)
{
    ui.clearCancel();
    ui.showProgress(QStringLiteral("LibreOffice起動中"));
    ui.processEvents();
}

} // namespace brelix::run
