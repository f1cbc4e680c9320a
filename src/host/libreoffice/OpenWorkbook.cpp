#include "host/libreoffice/OpenWorkbook.h"

#include "core/host/HostError.h"

#include <com/sun/star/container/XIndexAccess.hpp>

namespace brelix::libreoffice {

using namespace css;

uno::Reference<sheet::XSpreadsheet> OpenWorkbook::sheet(int position) const
{
    const uno::Reference<container::XIndexAccess> sheets{document->getSheets(),
                                                         uno::UNO_QUERY_THROW};
    if (position < 1 || position > sheets->getCount())
        throw host::HostError(host::HostError::Kind::NotFound,
                              QStringLiteral("%1 has no worksheet %2").arg(name).arg(position));
    return uno::Reference<sheet::XSpreadsheet>(sheets->getByIndex(position - 1),
                                               uno::UNO_QUERY_THROW);
}

int OpenWorkbook::sheetCount() const
{
    const uno::Reference<container::XIndexAccess> sheets{document->getSheets(),
                                                         uno::UNO_QUERY_THROW};
    return sheets->getCount();
}

} // namespace brelix::libreoffice
