#include "HostContractTest.h"
#include "InMemoryHost.h"
#include "ScriptedRunUi.h"
#include "core/run/ResponsiveHost.h"

#include <QDir>
#include <QFileInfo>

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

// Hands out further handles on one instance.
class HandleFactory : public host::SpreadsheetHostFactory {
public:
    explicit HandleFactory(const support::InMemoryHost& host) : m_host(host) {}
    std::unique_ptr<host::SpreadsheetHost> start() override
    {
        return std::make_unique<support::InMemoryHost>(m_host);
    }
    bool handedOverInstanceOpen() override { return false; }

private:
    const support::InMemoryHost& m_host;
};

// What a ResponsiveHost needs before it is made.
struct ResponsiveParts {
    explicit ResponsiveParts(const support::InMemoryHost& host) : probe(host) {}
    support::InMemoryHost probe;
    HandleFactory factory{probe};
    support::ScriptedRunUi ui;
};

// The instance behind a ResponsiveHost, probed through a second handle on it.
class ResponsiveInMemoryHost : private ResponsiveParts,
                               public run::ResponsiveHost,
                               public support::HostProbe {
public:
    explicit ResponsiveInMemoryHost(const support::InMemoryHost& host)
        : ResponsiveParts(host), ResponsiveHost(factory, ui)
    {
    }
    QString activeWorkbook() override { return probe.activeWorkbook(); }
    int activeSheet(const QString& book) override { return probe.activeSheet(book); }
    QString cellText(const QString& book, int sheet, int row, int column,
                     host::CellTextKind kind) override
    {
        return probe.cellText(book, sheet, row, column, kind);
    }
    int cellColorIndex(const QString& book, int sheet, int row, int column) override
    {
        return probe.cellColorIndex(book, sheet, row, column);
    }
    support::CellBorders cellBorders(const QString& book, int sheet, int row, int column) override
    {
        return probe.cellBorders(book, sheet, row, column);
    }
};

class InMemoryHostUnderTest : public HostUnderTest {
public:
    void writeFile(const QString& path, const support::WorkbookContent& content,
                   const QString& password) override
    {
        if (password.isEmpty())
            (*m_files)[QDir::cleanPath(path)] = asReadBack(path, content);
    }

    std::unique_ptr<host::SpreadsheetHost> start() override
    {
#ifdef BRELIX_RESPONSIVE_HOST
        return std::make_unique<ResponsiveInMemoryHost>(support::InMemoryHost(m_files));
#else
        return std::make_unique<support::InMemoryHost>(m_files);
#endif
    }

private:
    std::shared_ptr<support::InMemoryHost::FileTable> m_files =
        std::make_shared<support::InMemoryHost::FileTable>();
};

} // namespace

std::unique_ptr<HostUnderTest> makeHostUnderTest()
{
    return std::make_unique<InMemoryHostUnderTest>();
}

} // namespace brelix::contract
