#include "host/libreoffice/OpenWorkbook.h"

#include "core/host/HostError.h"

#include <com/sun/star/container/XIndexAccess.hpp>

namespace brelix::libreoffice {

using namespace css;

void OpenWorkbook::knowSheets() const
{
    if (!m_sheets.empty())
        return;
    if (!m_sheetList.is())
        m_sheetList.set(document->getSheets(), uno::UNO_QUERY_THROW);
    m_sheets.assign(static_cast<size_t>(m_sheetList->getCount()), {});
}

uno::Reference<sheet::XSpreadsheet> OpenWorkbook::sheet(int position) const
{
    knowSheets();
    if (position < 1 || position > static_cast<int>(m_sheets.size()))
        throw host::HostError(host::HostError::Kind::NotFound,
                              QStringLiteral("%1 has no worksheet %2").arg(name).arg(position));
    uno::Reference<sheet::XSpreadsheet>& known = m_sheets[static_cast<size_t>(position - 1)];
    if (!known.is())
        known.set(m_sheetList->getByIndex(position - 1), uno::UNO_QUERY_THROW);
    return known;
}

int OpenWorkbook::sheetCount() const
{
    knowSheets();
    return static_cast<int>(m_sheets.size());
}

void OpenWorkbook::forgetSheets() const
{
    m_sheets.clear();
}

uno::Reference<sheet::XSpreadsheetView> OpenWorkbook::view() const
{
    if (!m_view.is())
        m_view.set(model->getCurrentController(), uno::UNO_QUERY_THROW);
    return m_view;
}

} // namespace brelix::libreoffice
