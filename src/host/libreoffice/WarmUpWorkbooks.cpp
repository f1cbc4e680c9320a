#include "host/libreoffice/WarmUpWorkbooks.h"

#include "host/libreoffice/UnoHelpers.h"
#include "host/libreoffice/UnoStrings.h"

#include <QDir>
#include <QUrl>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/util/XCloseable.hpp>

namespace brelix::libreoffice {

using namespace css;

namespace {

constexpr int kRows = 200;
constexpr int kColumns = 20;

uno::Sequence<uno::Sequence<uno::Any>> sampleRows()
{
    uno::Sequence<uno::Sequence<uno::Any>> rows(kRows);
    for (int r = 0; r < kRows; ++r) {
        uno::Sequence<uno::Any>& row = rows.getArray()[r];
        row.realloc(kColumns);
        for (int c = 0; c < kColumns; ++c)
            row.getArray()[c] = c % 2 ? uno::Any(r * 100.0 + c + 0.5)
                                      : uno::Any(toOUString(QStringLiteral("セル %1").arg(r * c)));
    }
    return rows;
}

} // namespace

QStringList writeWarmUpWorkbooks(const uno::Reference<frame::XDesktop2>& desktop,
                                 const QString& folder)
{
    const uno::Reference<lang::XComponent> component =
        desktop->loadComponentFromURL(OUString("private:factory/scalc"), OUString("_blank"), 0,
                                      properties({property("Hidden", uno::Any(true))}));
    const uno::Reference<util::XCloseable> closeable{component, uno::UNO_QUERY_THROW};
    QStringList paths;
    try {
        const uno::Reference<sheet::XSpreadsheetDocument> document{component, uno::UNO_QUERY_THROW};
        const uno::Reference<container::XIndexAccess> sheets{document->getSheets(),
                                                             uno::UNO_QUERY_THROW};
        const uno::Reference<table::XCellRange> sheet{sheets->getByIndex(0), uno::UNO_QUERY_THROW};
        const uno::Reference<sheet::XCellRangeData> block{
            sheet->getCellRangeByPosition(0, 0, kColumns - 1, kRows - 1), uno::UNO_QUERY_THROW};
        block->setDataArray(sampleRows());
        const uno::Reference<frame::XStorable> storable{component, uno::UNO_QUERY_THROW};
        for (const auto& [file, filter] :
             {std::pair{"brelix-warm-up.xls", "MS Excel 97"},
              std::pair{"brelix-warm-up.xlsx", "Calc MS Excel 2007 XML"}}) {
            const QString path = QDir(folder).filePath(QString::fromLatin1(file));
            storable->storeToURL(
                toOUString(QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded())),
                properties({property("FilterName", uno::Any(OUString::createFromAscii(filter))),
                            property("Overwrite", uno::Any(true))}));
            paths.append(path);
        }
    } catch (...) {
        closeable->close(true);
        throw;
    }
    closeable->close(true);
    return paths;
}

} // namespace brelix::libreoffice
