#include "HostContractTest.h"
#include "InMemoryHostFactory.h"
#include "ScriptedRunUi.h"
#include "core/run/ResponsiveHostFactory.h"

#include <QFileInfo>
#include <map>

using namespace Qt::StringLiterals;

namespace brelix::contract {

namespace {

bool hasSuffix(const QString& path, const QString& suffix)
{
    return QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) == 0;
}

// What the office makes of a file it reads back. A CSV file keeps the values of one sheet,
// named after the file; every workbook opens on its first sheet; an .xls file keeps a
// truth-valued formula's result as a plain number.
support::WorkbookContent asReadBack(const QString& path, support::WorkbookContent content)
{
    content.activeSheet = 1;
    if (hasSuffix(path, u"csv"_s)) {
        support::WorkbookContent csv;
        support::SheetContent& sheet = csv.addSheet(QFileInfo(path).completeBaseName());
        for (auto [key, cell] : content.sheets.value(0).cells) {
            cell.formula.clear();
            sheet.setCell(key.first, key.second, cell);
        }
        return csv;
    }
    if (!hasSuffix(path, u"xls"_s))
        return content;
    for (support::SheetContent& sheet : content.sheets)
        for (auto& [key, cell] : sheet.cells)
            if (!cell.formula.isEmpty() && cell.type == host::CellContent::Type::Boolean)
                cell.type = host::CellContent::Type::Number;
    return content;
}

class InMemoryHostUnderTest : public HostUnderTest {
public:
    void writeFile(const QString& path, const support::WorkbookContent& content,
                   const QString& password) override
    {
        if (password.isEmpty())
            m_factory.addFile(path, asReadBack(path, content));
    }

#ifdef BRELIX_RESPONSIVE_HOST
    // The instance behind a ResponsiveHost, probed through the factory's handle on it.
    std::unique_ptr<host::SpreadsheetHost> start() override
    {
        std::unique_ptr<host::SpreadsheetHost> instance = m_responsive.start();
        m_probes[instance.get()] = &m_factory.lastHost();
        return instance;
    }
    support::HostProbe& probe(host::SpreadsheetHost& instance) override
    {
        return *m_probes.at(&instance);
    }
#else
    std::unique_ptr<host::SpreadsheetHost> start() override
    {
        return m_factory.start();
    }
#endif

private:
    support::InMemoryHostFactory m_factory;
    support::ScriptedRunUi m_ui;
    run::ResponsiveHostFactory m_responsive{m_factory, m_ui};
    std::map<const host::SpreadsheetHost*, support::InMemoryHost*> m_probes;
};

} // namespace

std::unique_ptr<HostUnderTest> makeHostUnderTest()
{
    return std::make_unique<InMemoryHostUnderTest>();
}

} // namespace brelix::contract
