#include "host/libreoffice/LibreOfficeHost.h"

#include "core/host/CellText.h"
#include "host/libreoffice/CellWriter.h"
#include "host/libreoffice/UnoHelpers.h"
#include "host/libreoffice/WarmUpWorkbooks.h"
#include "host/libreoffice/WindowLayout.h"
#include "host/libreoffice/WorkbookFile.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QUrl>
#include <array>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/NoSuchElementException.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XLoadable.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/frame/theGlobalEventBroadcaster.hpp>
#include <com/sun/star/io/IOException.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/IllegalArgumentException.hpp>
#include <com/sun/star/sheet/CellFlags.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XSheetCellCursor.hpp>
#include <com/sun/star/sheet/XSheetOperation.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/sheet/XUsedAreaCursor.hpp>
#include <com/sun/star/util/Date.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <com/sun/star/util/XProtectable.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>
#include <csignal>

namespace brelix::libreoffice {

using namespace css;
using host::CellPosition;
using host::CellRange;
using host::HostError;

namespace {

constexpr std::chrono::milliseconds kWarmUpBusyTimeout{20000};

} // namespace

LibreOfficeHost::LibreOfficeHost(const OfficeOptions& options, std::atomic<pid_t>* starting)
    : m_options(options)
{
    const bool headless = options.display == OfficeOptions::Display::Headless ||
                          (options.display == OfficeOptions::Display::Automatic &&
                           qEnvironmentVariableIsEmpty("DISPLAY"));
    m_process = std::make_unique<OfficeProcess>(headless, options.preparedProfile);
    connect(starting);
}

LibreOfficeHost::LibreOfficeHost(const OfficeOptions& options,
                                 std::unique_ptr<OfficeProcess> process)
    : m_options(options), m_process(std::move(process))
{
    connect(nullptr);
}

void LibreOfficeHost::connect(std::atomic<pid_t>* starting)
{
    // From the watchdog's thread: only a signal, the process is reaped by the caller's thread.
    m_watchdog =
        std::make_unique<CallWatchdog>([pid = m_process->pid()] { ::kill(-pid, SIGKILL); });
    if (starting)
        starting->store(m_process->pid());
    try {
        connectInTime();
    } catch (...) {
        if (starting)
            starting->store(0);
        throw;
    }
    if (starting)
        starting->store(0);
    m_watchdog->setTimeout(m_options.busyTimeout);
}

void LibreOfficeHost::connectInTime()
{
    // The first calls over the new connection may meet an office stuck while starting; one
    // that never opens its pipe meets the connection's own deadline first.
    m_watchdog->setTimeout(m_options.startTimeout + std::chrono::seconds(10));
    CallWatchdog::Scope watch(*m_watchdog);
    try {
        m_connection = std::make_unique<OfficeConnection>(*m_process, m_options.startTimeout);
    } catch (const uno::Exception& e) {
        throw HostError(
            HostError::Kind::StartFailed,
            QStringLiteral("the office could not be reached: %1").arg(toQString(e.Message)));
    }
}

LibreOfficeHost::~LibreOfficeHost()
{
    if (!m_ended)
        try {
            quit();
        } catch (const HostError&) {
        }
    m_watchdog.reset(); // before the process it may kill
}

template <typename F> auto LibreOfficeHost::guarded(F&& body)
{
    if (m_ended)
        throw HostError(HostError::Kind::Unavailable,
                        QStringLiteral("the office instance has ended"));
    if (!m_process->isRunning())
        throw HostError(HostError::Kind::Unavailable, QStringLiteral("the office has stopped"));
    CallWatchdog::Scope watch(*m_watchdog);
    try {
        return body();
    } catch (const lang::DisposedException& e) {
        throw translate(e, true);
    } catch (const uno::Exception& e) {
        throw translate(e, false);
    }
}

HostError LibreOfficeHost::translate(const uno::Exception& e, bool disposed)
{
    if (m_watchdog->fired()) {
        m_process->kill();
        return HostError(HostError::Kind::Unavailable,
                         QStringLiteral("the office did not answer within %1 s")
                             .arg(m_watchdog->timeout().count() / 1000.0));
    }
    if (disposed || !m_process->isRunning())
        return HostError(HostError::Kind::Unavailable, QStringLiteral("the office has stopped"));
    QString message = toQString(e.Message).trimmed();
    if (message.isEmpty())
        message = QStringLiteral("the office refused the operation");
    return HostError(HostError::Kind::General, message);
}

LibreOfficeHost::Entry& LibreOfficeHost::entry(const QString& book)
{
    for (auto& e : m_books)
        if (e->book.name == book)
            return *e;
    throw HostError(HostError::Kind::NotFound,
                    QStringLiteral("no workbook named %1 is open").arg(book));
}

LibreOfficeHost::Entry& LibreOfficeHost::adopt(const uno::Reference<lang::XComponent>& component,
                                               const QString& name, const QString& path,
                                               const QString& filterName, bool windowless)
{
    auto e = std::make_unique<Entry>();
    e->book.name = name;
    e->book.path = path;
    e->book.filterName = filterName;
    e->book.windowless = windowless;
    e->book.model.set(component, uno::UNO_QUERY);
    e->book.document.set(component, uno::UNO_QUERY);
    if (!e->book.document.is() || !e->book.model.is()) {
        const uno::Reference<util::XCloseable> closeable{component, uno::UNO_QUERY};
        if (closeable.is())
            closeable->close(true);
        throw HostError(HostError::Kind::OpenFailed,
                        QStringLiteral("%1 is not a spreadsheet workbook").arg(path));
    }
    util::Date nullDate(30, 12, 1899);
    const uno::Reference<beans::XPropertySet> props{component, uno::UNO_QUERY_THROW};
    props->getPropertyValue(OUString("NullDate")) >>= nullDate;
    e->book.nullDate = QDate(nullDate.Year, nullDate.Month, nullDate.Day);
    e->reader = std::make_unique<CellReader>(e->book);
    if (m_visible)
        WindowLayout::setVisible(e->book, true);
    m_active = name;
    m_books.push_back(std::move(e));
    return *m_books.back();
}

void LibreOfficeHost::setVisible(bool on)
{
    guarded([&] {
        if (isHeadless())
            return; // nothing to show; a headless office ends at its hand-over
        m_visible = on;
        for (auto& e : m_books) {
            WindowLayout::setVisible(e->book, on);
            if (on && m_maximized && !e->book.placement)
                WindowLayout::setMaximized(e->book, true);
        }
        if (on && !m_active.isEmpty())
            WindowLayout::bringToFront(workbook(m_active));
    });
}

void LibreOfficeHost::setMaximized(bool on)
{
    m_maximized = on;
}

void LibreOfficeHost::setBusyTimeout(std::chrono::milliseconds timeout)
{
    m_watchdog->setTimeout(timeout);
}

namespace {

std::vector<beans::PropertyValue> loadProperties(const WorkbookFile& file)
{
    std::vector<beans::PropertyValue> props = {
        property("Hidden", uno::Any(true)),
        property("MacroExecutionMode", uno::Any(document::MacroExecMode::NEVER_EXECUTE)),
        property("UpdateDocMode", uno::Any(document::UpdateDocMode::NO_UPDATE)),
        property("FilterName", uno::Any(toOUString(file.filterName))),
        // Nothing of a job may show in the next one's office, its recent documents included.
        property("PickListEntry", uno::Any(false)),
    };
    if (!file.filterOptions.isEmpty())
        props.push_back(property("FilterOptions", uno::Any(toOUString(file.filterOptions))));
    return props;
}

void closeUnsaved(const uno::Reference<uno::XInterface>& document)
{
    const uno::Reference<util::XModifiable> modifiable{document, uno::UNO_QUERY};
    if (modifiable.is())
        modifiable->setModified(false);
    const uno::Reference<util::XCloseable> closeable{document, uno::UNO_QUERY};
    if (closeable.is())
        closeable->close(true);
}

// The office's own list of documents holds those opened unseen too; the desktop's holds every
// component shown in a frame.
std::array<uno::Reference<container::XEnumerationAccess>, 2>
documentLists(OfficeConnection& connection)
{
    return {uno::Reference<container::XEnumerationAccess>{
                frame::theGlobalEventBroadcaster::get(connection.context()), uno::UNO_QUERY_THROW},
            connection.desktop()->getComponents()};
}

} // namespace

QString LibreOfficeHost::openWorkbook(const QString& path)
{
    return open(path, false);
}

QString LibreOfficeHost::openWorkbookUnseen(const QString& path)
{
    return open(path, true);
}

uno::Reference<lang::XComponent> LibreOfficeHost::load(const QString& path,
                                                       const WorkbookFile& file, bool windowless)
{
    // A file URL made by hand from "#", "%" or non-ASCII names reaches another file.
    const OUString url = toOUString(QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded()));
    std::vector<beans::PropertyValue> props = loadProperties(file);
    if (!windowless)
        return m_connection->desktop()->loadComponentFromURL(url, OUString("_blank"), 0,
                                                             properties(props));
    // Without a frame and a view the office loads a small workbook in about half the time.
    const uno::Reference<frame::XLoadable> model{
        m_connection->createInstance(OUString("com.sun.star.sheet.SpreadsheetDocument")),
        uno::UNO_QUERY_THROW};
    props.push_back(property("URL", uno::Any(url)));
    try {
        model->load(properties(props));
    } catch (const uno::RuntimeException&) {
        throw;
    } catch (const uno::Exception& e) {
        // Refused as a broken file is by the desktop: nothing is left open.
        const uno::Reference<util::XCloseable> closeable{model, uno::UNO_QUERY};
        if (closeable.is())
            closeable->close(true);
        throw io::IOException(e.Message);
    }
    return {model, uno::UNO_QUERY};
}

QString LibreOfficeHost::open(const QString& path, bool windowless)
{
    return guarded([&] {
        const QFileInfo info(path);
        if (!info.isFile())
            throw HostError(HostError::Kind::OpenFailed,
                            QStringLiteral("%1 does not exist").arg(path));
        const QString name = info.fileName();
        for (const auto& e : m_books)
            if (e->book.name.compare(name, Qt::CaseInsensitive) == 0)
                throw HostError(HostError::Kind::General,
                                QStringLiteral("a workbook named %1 is already open").arg(name));
        // Only the filter the file's kind calls for: left to guess, the office reads any bytes
        // as text.
        const WorkbookFile file = WorkbookFile::inspect(info.absoluteFilePath());
        uno::Reference<lang::XComponent> component;
        try {
            component = load(info.absoluteFilePath(), file, windowless);
        } catch (const lang::IllegalArgumentException& e) {
            throw HostError(
                HostError::Kind::OpenFailed,
                QStringLiteral("%1 cannot be opened: %2").arg(path, toQString(e.Message)));
        } catch (const io::IOException& e) {
            throw HostError(
                HostError::Kind::OpenFailed,
                QStringLiteral("%1 cannot be opened: %2").arg(path, toQString(e.Message)));
        }
        if (!component.is())
            throw HostError(HostError::Kind::OpenFailed,
                            QStringLiteral("%1 cannot be read as a workbook (damaged, encrypted or "
                                           "of another kind)")
                                .arg(path));
        const QString wasActive = m_active;
        Entry& opened =
            adopt(component, name, info.absoluteFilePath(), file.filterName, windowless);
        const int readSheets = opened.book.sheetCount();
        if (file.declaredSheets && readSheets < *file.declaredSheets) {
            closeEntry(opened);
            std::erase_if(m_books, [&](const auto& p) { return p.get() == &opened; });
            m_active = wasActive;
            throw HostError(HostError::Kind::OpenFailed,
                            QStringLiteral("the office read only %1 of the %2 worksheets of %3")
                                .arg(readSheets)
                                .arg(*file.declaredSheets)
                                .arg(path));
        }
        return opened.book.name;
    });
}

QStringList LibreOfficeHost::workbookNames()
{
    return guarded([&] {
        QStringList names;
        for (const auto& e : m_books)
            names.append(e->book.name);
        return names;
    });
}

void LibreOfficeHost::activateWorkbook(const QString& book)
{
    guarded([&] {
        OpenWorkbook& wb = workbook(book);
        m_active = wb.name;
        if (m_visible)
            WindowLayout::bringToFront(wb);
    });
}

void LibreOfficeHost::saveWorkbook(const QString& book)
{
    guarded([&] {
        OpenWorkbook& wb = workbook(book);
        const uno::Reference<frame::XStorable> storable{wb.model, uno::UNO_QUERY_THROW};
        try {
            // Named, never left to the loaded document: an .xls is always written as BIFF8.
            storable->storeAsURL(
                wb.model->getURL(),
                properties({property("FilterName", uno::Any(toOUString(wb.filterName))),
                            property("Overwrite", uno::Any(true))}));
        } catch (const io::IOException& e) {
            throw HostError(
                HostError::Kind::General,
                QStringLiteral("%1 could not be saved: %2").arg(wb.path, toQString(e.Message)));
        }
    });
}

void LibreOfficeHost::closeEntry(Entry& e)
{
    closeUnsaved(e.book.model);
}

void LibreOfficeHost::closeWorkbook(const QString& book)
{
    guarded([&] {
        Entry& e = entry(book);
        closeEntry(e);
        std::erase_if(m_books, [&](const auto& p) { return p.get() == &e; });
        if (m_active == book)
            m_active = m_books.empty() ? QString() : m_books.back()->book.name;
    });
}

void LibreOfficeHost::closeWindowlessWorkbooks()
{
    QStringList windowless;
    for (const auto& e : m_books)
        if (e->book.windowless)
            windowless.append(e->book.name);
    for (const QString& book : windowless)
        closeWorkbook(book);
}

void LibreOfficeHost::closeAllWorkbooks()
{
    guarded([&] {
        while (!m_books.empty()) {
            closeEntry(*m_books.back());
            m_books.pop_back();
        }
        m_active.clear();
    });
}

int LibreOfficeHost::sheetCount(const QString& book)
{
    return guarded([&] { return workbook(book).sheetCount(); });
}

QString LibreOfficeHost::sheetName(const QString& book, int sheet)
{
    return guarded([&] {
        const uno::Reference<container::XNamed> named{workbook(book).sheet(sheet),
                                                      uno::UNO_QUERY_THROW};
        return toQString(named->getName());
    });
}

void LibreOfficeHost::setSheetName(const QString& book, int sheet, const QString& name)
{
    guarded([&] {
        const uno::Reference<container::XNamed> named{workbook(book).sheet(sheet),
                                                      uno::UNO_QUERY_THROW};
        // The office ignores a name it does not accept instead of failing.
        named->setName(toOUString(name));
        if (toQString(named->getName()) != name)
            throw HostError(HostError::Kind::NameRefused,
                            QStringLiteral("the sheet name \"%1\" is not accepted").arg(name));
    });
}

bool LibreOfficeHost::isSheetVisible(const QString& book, int sheet)
{
    return guarded([&] {
        const uno::Reference<beans::XPropertySet> props{workbook(book).sheet(sheet),
                                                        uno::UNO_QUERY_THROW};
        bool visible = true;
        props->getPropertyValue(OUString("IsVisible")) >>= visible;
        return visible;
    });
}

void LibreOfficeHost::activateSheet(const QString& book, int sheet)
{
    guarded([&] {
        OpenWorkbook& wb = workbook(book);
        const uno::Reference<sheet::XSpreadsheet> s = wb.sheet(sheet);
        if (!wb.windowless) // nothing to show
            wb.view()->setActiveSheet(s);
    });
}

void LibreOfficeHost::deleteSheet(const QString& book, const QString& name)
{
    guarded([&] {
        OpenWorkbook& wb = workbook(book);
        const uno::Reference<sheet::XSpreadsheets> sheets = wb.document->getSheets();
        if (!sheets->hasByName(toOUString(name)))
            throw HostError(HostError::Kind::NotFound,
                            QStringLiteral("%1 has no sheet named %2").arg(book, name));
        if (wb.sheetCount() == 1)
            throw HostError(HostError::Kind::General,
                            QStringLiteral("the only sheet of %1 cannot be deleted").arg(book));
        wb.forgetSheets();
        sheets->removeByName(toOUString(name));
    });
}

bool LibreOfficeHost::isSheetProtected(const QString& book, int sheet)
{
    return guarded([&] {
        const uno::Reference<util::XProtectable> p{workbook(book).sheet(sheet),
                                                   uno::UNO_QUERY_THROW};
        return static_cast<bool>(p->isProtected());
    });
}

void LibreOfficeHost::unprotectSheet(const QString& book, int sheet, const QString& password)
{
    guarded([&] {
        const uno::Reference<util::XProtectable> p{workbook(book).sheet(sheet),
                                                   uno::UNO_QUERY_THROW};
        try {
            p->unprotect(toOUString(password));
        } catch (const lang::IllegalArgumentException&) {
        }
        if (p->isProtected())
            throw HostError(
                HostError::Kind::WrongPassword,
                QStringLiteral("wrong password for sheet %1 of %2").arg(sheet).arg(book));
    });
}

void LibreOfficeHost::addSheetWithHeading(const QString& book, int sheet, const QString& name)
{
    guarded([&] {
        OpenWorkbook& wb = workbook(book);
        const uno::Reference<container::XNamed> source{wb.sheet(sheet), uno::UNO_QUERY_THROW};
        wb.forgetSheets();
        wb.document->getSheets()->copyByName(source->getName(), toOUString(name),
                                             static_cast<sal_Int16>(sheet));
        // The copy keeps the column widths; everything below the heading goes.
        const uno::Reference<sheet::XSpreadsheet> added = wb.sheet(sheet + 1);
        const uno::Reference<sheet::XCellRangeAddressable> whole{added, uno::UNO_QUERY_THROW};
        const table::CellRangeAddress all = whole->getRangeAddress();
        const uno::Reference<sheet::XSheetOperation> below{
            added->getCellRangeByPosition(0, 1, all.EndColumn, all.EndRow), uno::UNO_QUERY_THROW};
        using namespace sheet::CellFlags;
        below->clearContents(VALUE | DATETIME | STRING | ANNOTATION | FORMULA | HARDATTR |
                             EDITATTR | OBJECTS);
    });
}

CellPosition LibreOfficeHost::lastUsedCell(const QString& book, int sheet)
{
    return guarded([&] {
        const uno::Reference<sheet::XSpreadsheet> s = workbook(book).sheet(sheet);
        // The office would measure a protected sheet; the runs expect it to refuse, so that
        // they ask for its password.
        const uno::Reference<util::XProtectable> p{s, uno::UNO_QUERY_THROW};
        if (p->isProtected())
            throw HostError(HostError::Kind::SheetProtected,
                            QStringLiteral("sheet %1 of %2 is protected").arg(sheet).arg(book));
        const uno::Reference<sheet::XSheetCellCursor> cursor = s->createCursor();
        const uno::Reference<sheet::XUsedAreaCursor> used{cursor, uno::UNO_QUERY_THROW};
        used->gotoStartOfUsedArea(false);
        used->gotoEndOfUsedArea(false);
        const uno::Reference<sheet::XCellRangeAddressable> a{cursor, uno::UNO_QUERY_THROW};
        const table::CellRangeAddress end = a->getRangeAddress();
        return CellPosition{end.EndRow + 1, end.EndColumn + 1};
    });
}

QList<QStringList> LibreOfficeHost::rangeTexts(const QString& book, int sheet,
                                               const CellRange& range, host::CellTextKind kind)
{
    return guarded([&] {
        Entry& e = entry(book);
        const auto cells = e.reader->read(e.book.sheet(sheet), range, kind);
        QList<QStringList> texts;
        texts.reserve(cells.size());
        for (const auto& row : cells) {
            QStringList& out = texts.emplace_back();
            out.reserve(row.size());
            for (const host::CellContent& cell : row)
                out.append(kind == host::CellTextKind::Formula
                               ? host::formulaText(cell, e.book.nullDate)
                               : host::valueText(cell, e.book.nullDate));
        }
        return texts;
    });
}

void LibreOfficeHost::writeRows(const QString& book, int sheet, int topRow, int leftColumn,
                                const QList<QVariantList>& rows)
{
    guarded([&] {
        OpenWorkbook& wb = workbook(book);
        CellWriter(wb).writeRows(wb.sheet(sheet), topRow, leftColumn, rows);
    });
}

void LibreOfficeHost::setCellValue(const QString& book, int sheet, int row, int column,
                                   const QVariant& value)
{
    writeRows(book, sheet, row, column, {{value}});
}

void LibreOfficeHost::setWrapText(const QString& book, int sheet, int row, int column, bool wrap)
{
    guarded([&] {
        OpenWorkbook& wb = workbook(book);
        CellWriter(wb).setWrapText(wb.sheet(sheet), row, column, wrap);
    });
}

void LibreOfficeHost::selectRange(const QString& book, int sheet, const CellRange& range)
{
    guarded([&] {
        OpenWorkbook& wb = workbook(book);
        const uno::Reference<sheet::XSpreadsheet> s = wb.sheet(sheet);
        if (wb.windowless)
            return; // nothing to show
        const uno::Reference<sheet::XSpreadsheetView> view = wb.view();
        view->setActiveSheet(s);
        const uno::Reference<view::XSelectionSupplier> selection{view, uno::UNO_QUERY_THROW};
        selection->select(
            uno::Any(s->getCellRangeByPosition(range.first.column - 1, range.first.row - 1,
                                               range.last.column - 1, range.last.row - 1)));
    });
}

void LibreOfficeHost::fillRange(const QString& book, int sheet, const CellRange& range,
                                int colourIndex)
{
    guarded([&] {
        OpenWorkbook& wb = workbook(book);
        CellWriter(wb).fillRange(wb.sheet(sheet), range, colourIndex);
    });
}

void LibreOfficeHost::fillCells(const QString& book, int sheet, const QList<CellPosition>& cells,
                                int colourIndex)
{
    guarded([&] {
        OpenWorkbook& wb = workbook(book);
        CellWriter(wb).fillCells(wb.sheet(sheet), cells, colourIndex);
    });
}

void LibreOfficeHost::drawGrid(const QString& book, int sheet, const CellRange& range)
{
    guarded([&] {
        OpenWorkbook& wb = workbook(book);
        CellWriter(wb).drawGrid(wb.sheet(sheet), range);
    });
}

host::WindowGeometry LibreOfficeHost::windowGeometry(const QString& book)
{
    return guarded([&] { return WindowLayout::geometry(workbook(book)); });
}

void LibreOfficeHost::setWindowGeometry(const QString& book, const host::WindowGeometry& geometry)
{
    guarded([&] { WindowLayout::setGeometry(workbook(book), geometry); });
}

void LibreOfficeHost::arrangeWindows(host::WindowArrangement arrangement)
{
    guarded([&] {
        QList<OpenWorkbook*> order;
        if (!m_active.isEmpty())
            order.append(&workbook(m_active));
        for (const auto& e : m_books)
            if (e->book.name != m_active)
                order.append(&e->book);
        WindowLayout::arrange(order, arrangement);
    });
}

void LibreOfficeHost::printWorkbook(const QString& book)
{
    guarded([&] {
        OpenWorkbook& wb = workbook(book);
        printer().print(wb, true, std::nullopt, QFileInfo(wb.name).completeBaseName());
    });
}

void LibreOfficeHost::printSheet(const QString& book, int sheet,
                                 std::optional<host::PageRange> pages)
{
    guarded([&] {
        OpenWorkbook& wb = workbook(book);
        const uno::Reference<sheet::XSpreadsheet> s = wb.sheet(sheet);
        wb.view()->setActiveSheet(s);
        const QString sheetName =
            toQString(uno::Reference<container::XNamed>(s, uno::UNO_QUERY_THROW)->getName());
        printer().print(wb, false, pages,
                        QFileInfo(wb.name).completeBaseName() + QLatin1Char('-') + sheetName);
    });
}

OfficePrinter& LibreOfficeHost::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<OfficePrinter>(m_connection->context());
    return *m_printer;
}

void LibreOfficeHost::handOver()
{
    if (isHeadless()) {
        // Nobody could ever see or close a headless office: the job ends as one that leaves
        // nothing for the user.
        finishJob();
        return;
    }
    closeWindowlessWorkbooks(); // nobody could see or close them
    setVisible(true);
    endInstance(Ending::HandOver);
}

void LibreOfficeHost::quit()
{
    if (m_ended)
        throw HostError(HostError::Kind::Unavailable,
                        QStringLiteral("the office instance has ended"));
    // Nothing of a private instance outlives it: its workbooks are never saved from here, it
    // locks no file and its profile goes with it. Stopping it outright spares closing big
    // workbooks one by one and the office's own shutdown, most of the end of a job.
    endInstance(Ending::Kill);
}

void LibreOfficeHost::finishJob()
{
    // The keeper closes every document, those opened unseen too, and checks the office before
    // it offers it again: closing them here kept the command waiting for nothing.
    if (m_ended || m_process->lender() <= 0)
        quit();
    else
        endInstance(Ending::GiveBack);
}

// Every document the office holds, ours or not, seen or not, closed unsaved; fit for another
// job when none is left and its memory is under the bound.
bool LibreOfficeHost::clearForNextJob(qint64 memoryBoundKiB)
{
    return guarded([&] {
        m_books.clear();
        m_active.clear();
        const auto lists = documentLists(*m_connection);
        // One list after the other: an enumeration taken before the other list was closed
        // would still hold its documents.
        for (const uno::Reference<container::XEnumerationAccess>& documents : lists) {
            const uno::Reference<container::XEnumeration> each = documents->createEnumeration();
            while (each->hasMoreElements())
                closeUnsaved({each->nextElement(), uno::UNO_QUERY});
        }
        for (const uno::Reference<container::XEnumerationAccess>& documents : lists)
            if (documents->createEnumeration()->hasMoreElements())
                return false;
        return m_process->memoryKiB() <= memoryBoundKiB;
    });
}

void LibreOfficeHost::abandon()
{
    // Only the signal: the calling thread reaps the process, as after the busy time-out. A
    // handed-over office is the user's.
    if (!m_ended)
        ::kill(-m_process->pid(), SIGKILL);
}

void LibreOfficeHost::warmUp()
{
    // A job may be waiting for this office: one stuck here is killed soon, not after a job's
    // busy time.
    const std::chrono::milliseconds busyTimeout = m_watchdog->timeout();
    m_watchdog->setTimeout(std::min(busyTimeout, kWarmUpBusyTimeout));
    const auto restoreTimeout = qScopeGuard([&] { m_watchdog->setTimeout(busyTimeout); });
    const QStringList samples = guarded(
        [&] { return writeWarmUpWorkbooks(m_connection->desktop(), m_process->scratchFolder()); });
    const auto removeSamples = qScopeGuard([&] {
        for (const QString& path : samples)
            QFile::remove(path);
    });
    // Through the calls of a comparison, each once.
    for (const QString& path : samples) {
        const QString book = openWorkbook(path);
        rangeTexts(book, 1, {{1, 1}, lastUsedCell(book, 1)}, host::CellTextKind::Value);
        writeRows(book, 1, 1, 1, {{1.5, QStringLiteral("x")}});
        fillCells(book, 1, {{1, 1}, {2, 2}}, 6);
        saveWorkbook(book);
        closeWorkbook(book);
    }
}

bool LibreOfficeHost::isAlive()
{
    return !m_ended && m_process->isRunning();
}

void LibreOfficeHost::release()
{
    m_ended = true;
    m_connection->close();
    m_process->release();
}

void LibreOfficeHost::endInstance(Ending ending)
{
    m_ended = true;
    m_books.clear();
    m_active.clear();
    m_printer.reset();
    m_connection->close();
    switch (ending) {
    case Ending::Kill:
        m_process->kill();
        break;
    case Ending::HandOver:
        m_process->handOver();
        break;
    case Ending::GiveBack:
        m_process->giveBack();
        break;
    }
}

} // namespace brelix::libreoffice
