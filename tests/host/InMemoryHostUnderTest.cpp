#include "HostUnderTest.h"
#include "InMemoryHostFactory.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace brelix::contract {

namespace {

// A CSV file keeps the values of one sheet, which is named after the file when read.
support::WorkbookContent asCsv(const QString& path, const support::WorkbookContent& content)
{
    support::WorkbookContent csv;
    support::SheetContent& sheet = csv.addSheet(QFileInfo(path).completeBaseName());
    if (content.sheets.isEmpty())
        return csv;
    for (auto [key, cell] : content.sheets.first().cells) {
        cell.formula.clear();
        sheet.setCell(key.first, key.second, cell);
    }
    return csv;
}

// What the office makes of a file it reads back: every workbook opens on its first sheet, and
// an .xls file keeps a truth-valued formula's result as a plain number.
support::WorkbookContent asReadBack(const QString& path, support::WorkbookContent content)
{
    content.activeSheet = 1;
    if (QFileInfo(path).suffix().compare(u"xls"_s, Qt::CaseInsensitive) != 0)
        return content;
    for (support::SheetContent& sheet : content.sheets)
        for (auto& [key, cell] : sheet.cells)
            if (!cell.formula.isEmpty() && cell.type == host::CellContent::Type::Boolean)
                cell.type = host::CellContent::Type::Number;
    return content;
}

class InMemoryHostUnderTest : public HostUnderTest {
public:
    void writeFile(const QString& path, const support::WorkbookContent& content) override
    {
        const bool csv = QFileInfo(path).suffix().compare(u"csv"_s, Qt::CaseInsensitive) == 0;
        m_factory.addFile(path, csv ? asCsv(path, content) : asReadBack(path, content));
    }

    std::unique_ptr<host::SpreadsheetHost> start() override { return m_factory.start(); }

private:
    support::InMemoryHostFactory m_factory;
};

} // namespace

std::unique_ptr<HostUnderTest> makeHostUnderTest()
{
    return std::make_unique<InMemoryHostUnderTest>();
}

} // namespace brelix::contract
