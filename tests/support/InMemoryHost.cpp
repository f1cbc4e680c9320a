#include "InMemoryHost.h"

#include "core/host/CellAddress.h"
#include "core/host/CellText.h"
#include "core/host/ColourPalette.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <atomic>
#include <type_traits>

using namespace Qt::StringLiterals;
using brelix::host::CellContent;
using brelix::host::CellPosition;
using brelix::host::CellRange;
using brelix::host::CellTextKind;
using brelix::host::HostError;

namespace brelix::support {

namespace {

// The printer every instance prints on: the order of the jobs it was given.
std::atomic<int> g_printJobs{0};

} // namespace

namespace {

// How each argument reads in the recorded calls.
template <typename Arg> QString argText(const Arg& v)
{
    if constexpr (std::is_same_v<Arg, bool>)
        return v ? u"true"_s : u"false"_s;
    else if constexpr (std::is_same_v<Arg, CellTextKind>)
        return v == CellTextKind::Value ? u"Value"_s : u"Formula"_s;
    else if constexpr (std::is_same_v<Arg, CellRange>)
        return host::cellAddress(v.first.row, v.first.column) + u':' +
               host::cellAddress(v.last.row, v.last.column);
    else if constexpr (std::is_arithmetic_v<Arg>)
        return QString::number(v);
    else
        return QVariant(v).toString();
}

template <typename... Args> QStringList args(const Args&... values)
{
    return {argText(values)...};
}

// What a written value becomes, as the office stores it: texts are never parsed, and an
// empty text leaves the cell empty.
CellContent contentOf(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return CellContent::empty();
    if (value.typeId() == QMetaType::Bool)
        return CellContent::ofBoolean(value.toBool());
    if (value.typeId() != QMetaType::QString && value.canConvert<double>())
        return CellContent::ofNumber(value.toDouble());
    const QString text = value.toString();
    return text.isEmpty() ? CellContent::empty() : CellContent::ofText(text);
}

bool isRefusedSheetName(const QString& name)
{
    if (name.isEmpty() || name.startsWith(u'\'') || name.endsWith(u'\''))
        return true;
    return std::any_of(name.begin(), name.end(),
                       [](QChar c) { return QStringView(u"[]*?:/\\").contains(c); });
}

QList<CellPosition> cellsOf(const CellRange& range)
{
    if (range.rowCount() < 1 || range.columnCount() < 1)
        throw HostError(HostError::Kind::General, u"Inverted range"_s);
    QList<CellPosition> cells;
    for (int row = range.first.row; row <= range.last.row; ++row)
        for (int column = range.first.column; column <= range.last.column; ++column)
            cells.append({row, column});
    return cells;
}

} // namespace

InMemoryHost::InMemoryHost(std::shared_ptr<FileTable> files)
    : m_instance(std::make_shared<Instance>())
{
    m_instance->files = std::move(files);
}

QStringList InMemoryHost::openWorkbookNames() const
{
    QStringList names;
    for (const OpenBook& open : std::as_const(m_instance->books))
        names.append(open.name);
    return names;
}

void InMemoryHost::failOnCell(const QString& operation, const QString& book, int sheet,
                              const CellPosition& cell, HostError::Kind kind)
{
    (kind == HostError::Kind::Unavailable ? m_instance->deadlyCells : m_instance->failingCells)
        .append(args(operation, book, sheet, host::cellAddress(cell.row, cell.column)).join(u' '));
}

void InMemoryHost::failIfTouched(const QString& operation, const QString& book, int sheet,
                                 const QList<CellPosition>& cells) const
{
    for (const CellPosition& cell : cells) {
        const QString address = host::cellAddress(cell.row, cell.column);
        const QString key = args(operation, book, sheet, address).join(u' ');
        if (m_instance->deadlyCells.contains(key)) {
            m_instance->dead = true;
            throw HostError(HostError::Kind::Unavailable,
                            u"The instance ended at %1"_s.arg(address));
        }
        if (m_instance->failingCells.contains(key))
            throw HostError(HostError::Kind::General, u"%1 failed at %2"_s.arg(operation, address));
    }
}

bool InMemoryHost::isAlive()
{
    return m_instance->state == State::Running && !m_instance->dead;
}

InMemoryHost::Instance& InMemoryHost::enter(const QString& operation, const QStringList& arguments)
{
    Instance& i = *m_instance;
    i.calls.append(operation + u'(' + arguments.join(u',') + u')');
    if (i.dead || i.state != State::Running)
        throw HostError(HostError::Kind::Unavailable, u"The spreadsheet instance has ended"_s);
    const int use = ++i.uses[operation];
    for (const Failure& failure : std::as_const(i.failures)) {
        if (failure.operation != operation || failure.nthUse != use)
            continue;
        if (failure.kind == HostError::Kind::Unavailable)
            i.dead = true;
        throw HostError(failure.kind, u"%1 failed (use %2)"_s.arg(operation).arg(use));
    }
    return i;
}

InMemoryHost::OpenBook& InMemoryHost::enterBook(const QString& operation, const QString& book,
                                                const QStringList& more)
{
    enter(operation, args(book) + more);
    return openBook(book);
}

SheetContent& InMemoryHost::enterSheet(const QString& operation, const QString& book, int sheet,
                                       const QStringList& more)
{
    enter(operation, args(book, sheet) + more);
    return sheetOf(book, sheet);
}

InMemoryHost::OpenBook& InMemoryHost::openBook(const QString& book)
{
    for (OpenBook& open : m_instance->books)
        if (open.name == book)
            return open;
    throw HostError(HostError::Kind::NotFound, u"No open workbook %1"_s.arg(book));
}

SheetContent& InMemoryHost::sheetOf(const QString& book, int sheet)
{
    WorkbookContent& content = openBook(book).content;
    if (sheet < 1 || sheet > content.sheets.size())
        throw HostError(HostError::Kind::NotFound, u"No sheet %1 in %2"_s.arg(sheet).arg(book));
    return content.sheets[sheet - 1];
}

void InMemoryHost::setVisible(bool on)
{
    enter(u"setVisible"_s, args(on)).visible = on;
}

void InMemoryHost::setMaximized(bool on)
{
    enter(u"setMaximized"_s, args(on));
}

void InMemoryHost::setBusyTimeout(std::chrono::milliseconds timeout)
{
    enter(u"setBusyTimeout"_s, args(static_cast<qint64>(timeout.count()))).busyTimeout = timeout;
}

QString InMemoryHost::openWorkbook(const QString& path)
{
    Instance& i = enter(u"openWorkbook"_s, args(path));
    const QString cleanPath = QDir::cleanPath(path);
    auto file = i.files->find(cleanPath);
    // A link opens the file it points to, under its own name.
    if (file == i.files->end() && QFileInfo(path).isSymLink())
        file = i.files->find(QDir::cleanPath(QFileInfo(path).symLinkTarget()));
    if (file == i.files->end())
        throw HostError(HostError::Kind::OpenFailed, u"Cannot open %1"_s.arg(path));
    const QString name = QFileInfo(cleanPath).fileName();
    if (openWorkbookNames().contains(name))
        throw HostError(HostError::Kind::General, u"A workbook %1 is already open"_s.arg(name));
    OpenBook book{name, cleanPath, file->second};
    if (book.content.activeSheet < 1 || book.content.activeSheet > book.content.sheets.size())
        book.content.activeSheet = 1;
    i.books.append(book);
    i.active = name;
    return name;
}

QStringList InMemoryHost::workbookNames()
{
    enter(u"workbookNames"_s, {});
    return openWorkbookNames();
}

void InMemoryHost::activateWorkbook(const QString& book)
{
    m_instance->active = enterBook(u"activateWorkbook"_s, book).name;
}

void InMemoryHost::saveWorkbook(const QString& book)
{
    const OpenBook& open = enterBook(u"saveWorkbook"_s, book);
    (*m_instance->files)[open.path] = open.content;
}

void InMemoryHost::closeWorkbook(const QString& book)
{
    enterBook(u"closeWorkbook"_s, book);
    QList<OpenBook>& books = m_instance->books;
    books.removeIf([&book](const OpenBook& open) { return open.name == book; });
    if (m_instance->active == book)
        m_instance->active = books.isEmpty() ? QString() : books.last().name;
}

void InMemoryHost::closeAllWorkbooks()
{
    Instance& i = enter(u"closeAllWorkbooks"_s, {});
    i.books.clear();
    i.active.clear();
}

int InMemoryHost::sheetCount(const QString& book)
{
    return static_cast<int>(enterBook(u"sheetCount"_s, book).content.sheets.size());
}

QString InMemoryHost::sheetName(const QString& book, int sheet)
{
    return enterSheet(u"sheetName"_s, book, sheet).name;
}

void InMemoryHost::setSheetName(const QString& book, int sheet, const QString& name)
{
    SheetContent& target = enterSheet(u"setSheetName"_s, book, sheet, args(name));
    bool taken = false;
    for (const SheetContent& other : std::as_const(openBook(book).content.sheets))
        taken = taken || (&other != &target && other.name.compare(name, Qt::CaseInsensitive) == 0);
    if (taken || isRefusedSheetName(name))
        throw HostError(HostError::Kind::NameRefused, u"Sheet name refused: %1"_s.arg(name));
    target.name = name;
}

bool InMemoryHost::isSheetVisible(const QString& book, int sheet)
{
    return enterSheet(u"isSheetVisible"_s, book, sheet).visible;
}

void InMemoryHost::activateSheet(const QString& book, int sheet)
{
    enterSheet(u"activateSheet"_s, book, sheet);
    openBook(book).content.activeSheet = sheet;
}

void InMemoryHost::deleteSheet(const QString& book, const QString& name)
{
    WorkbookContent& content = enterBook(u"deleteSheet"_s, book, args(name)).content;
    const auto index = std::find_if(content.sheets.cbegin(), content.sheets.cend(),
                                    [&name](const SheetContent& s) { return s.name == name; }) -
                       content.sheets.cbegin();
    if (index == content.sheets.size())
        throw HostError(HostError::Kind::NotFound, u"No sheet %1 in %2"_s.arg(name, book));
    if (content.sheets.size() == 1)
        throw HostError(HostError::Kind::General, u"Cannot delete the only sheet"_s);
    content.sheets.removeAt(index);
    if (content.activeSheet > index + 1 || content.activeSheet > content.sheets.size())
        --content.activeSheet;
}

void InMemoryHost::addSheetWithHeading(const QString& book, int sheet, const QString& name)
{
    SheetContent added = enterSheet(u"addSheetWithHeading"_s, book, sheet, args(name));
    added.name = name;
    std::erase_if(added.cells, [](const auto& cell) { return cell.first.first > 1; });
    std::erase_if(added.fills, [](const auto& fill) { return fill.first.first > 1; });
    std::erase_if(added.borders, [](const auto& border) { return border.first.first > 1; });
    openBook(book).content.sheets.insert(sheet, added);
}

bool InMemoryHost::isSheetProtected(const QString& book, int sheet)
{
    return enterSheet(u"isSheetProtected"_s, book, sheet).isProtected;
}

void InMemoryHost::unprotectSheet(const QString& book, int sheet, const QString& password)
{
    SheetContent& target = enterSheet(u"unprotectSheet"_s, book, sheet, args(password));
    if (!target.isProtected)
        return;
    if (password != target.password)
        throw HostError(HostError::Kind::WrongPassword, u"Wrong password"_s);
    target.isProtected = false;
    target.password.clear();
}

CellPosition InMemoryHost::lastUsedCell(const QString& book, int sheet)
{
    const SheetContent& target = enterSheet(u"lastUsedCell"_s, book, sheet);
    if (target.isProtected)
        throw HostError(HostError::Kind::SheetProtected, u"The sheet is protected"_s);
    CellPosition last;
    for (const auto& [key, content] : target.cells) {
        last.row = std::max(last.row, key.first);
        last.column = std::max(last.column, key.second);
    }
    return last;
}

QList<QStringList> InMemoryHost::rangeTexts(const QString& book, int sheet, const CellRange& range,
                                            CellTextKind kind)
{
    enterSheet(u"rangeTexts"_s, book, sheet, args(range, kind));
    failIfTouched(u"rangeTexts"_s, book, sheet, cellsOf(range));
    QList<QStringList> rows(range.rowCount());
    for (const CellPosition& at : cellsOf(range))
        rows[at.row - range.first.row].append(cellText(book, sheet, at.row, at.column, kind));
    return rows;
}

void InMemoryHost::writeRows(const QString& book, int sheet, int topRow, int leftColumn,
                             const QList<QVariantList>& rows)
{
    qsizetype width = 0;
    for (const QVariantList& row : rows)
        width = std::max(width, row.size());
    SheetContent& target =
        enterSheet(u"writeRows"_s, book, sheet,
                   args(topRow, leftColumn) << u"%1x%2"_s.arg(rows.size()).arg(width));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            target.setCell(topRow + r, leftColumn + c, contentOf(rows[r][c]));
}

void InMemoryHost::setCellValue(const QString& book, int sheet, int row, int column,
                                const QVariant& value)
{
    enterSheet(u"setCellValue"_s, book, sheet, args(row, column, value))
        .setCell(row, column, contentOf(value));
}

void InMemoryHost::setWrapText(const QString& book, int sheet, int row, int column, bool wrap)
{
    enterSheet(u"setWrapText"_s, book, sheet, args(row, column, wrap));
}

void InMemoryHost::selectRange(const QString& book, int sheet, const CellRange& range)
{
    enterSheet(u"selectRange"_s, book, sheet, args(range));
    cellsOf(range);
}

void InMemoryHost::fill(SheetContent& sheet, const QList<CellPosition>& cells, int colourIndex)
{
    if (colourIndex != host::ColourPalette::NoColour &&
        !host::ColourPalette::isValidIndex(colourIndex))
        throw HostError(HostError::Kind::General, u"No colour %1"_s.arg(colourIndex));
    for (const CellPosition& at : cells)
        if (colourIndex == host::ColourPalette::NoColour)
            sheet.fills.erase({at.row, at.column});
        else
            sheet.fills[{at.row, at.column}] = colourIndex;
}

void InMemoryHost::fillRange(const QString& book, int sheet, const CellRange& range,
                             int colourIndex)
{
    fill(enterSheet(u"fillRange"_s, book, sheet, args(range, colourIndex)), cellsOf(range),
         colourIndex);
}

void InMemoryHost::fillCells(const QString& book, int sheet, const QList<CellPosition>& cells,
                             int colourIndex)
{
    QStringList addresses;
    for (const CellPosition& cell : cells)
        addresses.append(host::cellAddress(cell.row, cell.column));
    SheetContent& target =
        enterSheet(u"fillCells"_s, book, sheet, args(addresses.join(u' '), colourIndex));
    failIfTouched(u"fillCells"_s, book, sheet, cells);
    fill(target, cells, colourIndex);
}

void InMemoryHost::drawGrid(const QString& book, int sheet, const CellRange& range)
{
    SheetContent& target = enterSheet(u"drawGrid"_s, book, sheet, args(range));
    for (const CellPosition& at : cellsOf(range))
        target.borders[{at.row, at.column}] = CellBorders{true, true, true, true};
}

host::WindowGeometry InMemoryHost::windowGeometry(const QString& book)
{
    return enterBook(u"windowGeometry"_s, book).window;
}

void InMemoryHost::setWindowGeometry(const QString& book, const host::WindowGeometry& geometry)
{
    enterBook(u"setWindowGeometry"_s, book,
              args(geometry.top, geometry.left, geometry.width, geometry.height))
        .window = geometry;
}

void InMemoryHost::arrangeWindows(host::WindowArrangement arrangement)
{
    const bool sideBySide = arrangement == host::WindowArrangement::SideBySide;
    Instance& i = enter(u"arrangeWindows"_s, {sideBySide ? u"SideBySide"_s : u"Stacked"_s});
    // The active window comes first.
    QList<OpenBook*> order;
    for (OpenBook& open : i.books)
        if (open.name == i.active)
            order.prepend(&open);
        else
            order.append(&open);
    const double count = static_cast<double>(order.size());
    for (int n = 0; n < order.size(); ++n) {
        host::WindowGeometry& window = order[n]->window;
        window.width = sideBySide ? ScreenWidth / count : ScreenWidth;
        window.height = sideBySide ? ScreenHeight : ScreenHeight / count;
        window.left = sideBySide ? n * window.width : 0;
        window.top = sideBySide ? 0 : n * window.height;
    }
}

void InMemoryHost::printWorkbook(const QString& book)
{
    m_instance->printJobs.append(
        {enterBook(u"printWorkbook"_s, book).name, 0, std::nullopt, ++g_printJobs});
}

void InMemoryHost::printSheet(const QString& book, int sheet, std::optional<host::PageRange> pages)
{
    enterSheet(u"printSheet"_s, book, sheet,
               {pages ? u"%1-%2"_s.arg(pages->from).arg(pages->to) : u"all"_s});
    m_instance->printJobs.append({book, sheet, pages, ++g_printJobs});
}

void InMemoryHost::handOver()
{
    Instance& i = enter(u"handOver"_s, {});
    i.visible = true;
    i.state = State::HandedOver;
}

void InMemoryHost::quit()
{
    Instance& i = enter(u"quit"_s, {});
    i.books.clear();
    i.active.clear();
    i.state = State::Quit;
}

QString InMemoryHost::cellText(const QString& book, int sheet, int row, int column,
                               CellTextKind kind)
{
    const CellContent content = sheetOf(book, sheet).cell(row, column);
    const QDate nullDate = openBook(book).content.nullDate;
    return kind == CellTextKind::Value ? host::valueText(content, nullDate)
                                       : host::formulaText(content, nullDate);
}

} // namespace brelix::support
