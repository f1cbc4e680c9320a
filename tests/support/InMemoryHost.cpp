#include "InMemoryHost.h"

#include "core/host/CellAddress.h"
#include "core/host/CellText.h"
#include "core/host/ColorPalette.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

using namespace Qt::StringLiterals;
using brelix::host::CellContent;
using brelix::host::CellPosition;
using brelix::host::CellRange;
using brelix::host::HostError;

namespace brelix::support {

namespace {

constexpr int MaxRows = 1048576;
constexpr int MaxColumns = 16384;

QString argText(const QString& s)
{
    return s;
}
QString argText(int v)
{
    return QString::number(v);
}
QString argText(bool on)
{
    return on ? u"true"_s : u"false"_s;
}
QString argText(double v)
{
    return QString::number(v);
}
QString argText(qint64 v)
{
    return QString::number(v);
}
QString argText(host::CellTextKind kind)
{
    return kind == host::CellTextKind::Value ? u"Value"_s : u"Formula"_s;
}
QString argText(const CellRange& range)
{
    return host::cellAddress(range.first.row, range.first.column) + u':' +
           host::cellAddress(range.last.row, range.last.column);
}
QString argText(const QVariant& value)
{
    return value.toString();
}

template <typename... Args> QStringList args(const Args&... values)
{
    return {argText(values)...};
}

bool isNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// What a written value becomes, as the office stores it: texts are never parsed, and an
// empty text leaves the cell empty.
CellContent contentOf(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return CellContent::empty();
    if (value.typeId() == QMetaType::Bool)
        return CellContent::ofBoolean(value.toBool());
    if (isNumber(value))
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

} // namespace

InMemoryHost::InMemoryHost() : InMemoryHost(std::make_shared<FileTable>()) {}

InMemoryHost::InMemoryHost(std::shared_ptr<FileTable> files) : m_files(std::move(files)) {}

void InMemoryHost::addFile(const QString& path, const WorkbookContent& content)
{
    (*m_files)[QDir::cleanPath(path)] = content;
}

std::optional<WorkbookContent> InMemoryHost::savedContent(const QString& path) const
{
    const auto it = m_files->find(QDir::cleanPath(path));
    if (it == m_files->end())
        return std::nullopt;
    return it->second;
}

WorkbookContent& InMemoryHost::workbook(const QString& book)
{
    return openBook(book).content;
}

QStringList InMemoryHost::openWorkbooks() const
{
    QStringList names;
    for (const OpenBook& open : m_books)
        names.append(open.name);
    return names;
}

host::WindowGeometry InMemoryHost::window(const QString& book)
{
    return openBook(book).window;
}

void InMemoryHost::failOn(const QString& operation, int nthUse, HostError::Kind kind)
{
    m_failures.append({operation, nthUse, kind});
}

void InMemoryHost::enter(const QString& operation, const QStringList& arguments)
{
    m_calls.append(operation + u'(' + arguments.join(u',') + u')');
    if (m_dead || m_state != State::Running)
        throw HostError(HostError::Kind::Unavailable, u"The spreadsheet instance has ended"_s);
    const int use = ++m_uses[operation];
    for (const Failure& failure : std::as_const(m_failures)) {
        if (failure.operation != operation || failure.nthUse != use)
            continue;
        if (failure.kind == HostError::Kind::Unavailable)
            m_dead = true;
        throw HostError(failure.kind, u"%1 failed (use %2)"_s.arg(operation).arg(use));
    }
}

InMemoryHost::OpenBook& InMemoryHost::openBook(const QString& book)
{
    for (OpenBook& open : m_books)
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

void InMemoryHost::checkCell(int row, int column) const
{
    if (row < 1 || row > MaxRows || column < 1 || column > MaxColumns)
        throw HostError(HostError::Kind::General,
                        u"No cell at row %1, column %2"_s.arg(row).arg(column));
}

void InMemoryHost::checkRange(const CellRange& range) const
{
    checkCell(range.first.row, range.first.column);
    checkCell(range.last.row, range.last.column);
    if (range.rowCount() < 1 || range.columnCount() < 1)
        throw HostError(HostError::Kind::General, u"Inverted range"_s);
}

void InMemoryHost::setDisplayAlerts(bool on)
{
    enter(u"setDisplayAlerts"_s, args(on));
    m_displayAlerts = on;
}

void InMemoryHost::setScreenUpdating(bool on)
{
    enter(u"setScreenUpdating"_s, args(on));
    m_screenUpdating = on;
}

void InMemoryHost::setVisible(bool on)
{
    enter(u"setVisible"_s, args(on));
    m_visible = on;
}

void InMemoryHost::setMaximized(bool on)
{
    enter(u"setMaximized"_s, args(on));
    m_maximized = on;
}

void InMemoryHost::setBusyTimeout(std::chrono::milliseconds timeout)
{
    enter(u"setBusyTimeout"_s, args(static_cast<qint64>(timeout.count())));
    m_busyTimeout = timeout;
}

QString InMemoryHost::openWorkbook(const QString& path)
{
    enter(u"openWorkbook"_s, args(path));
    const QString cleanPath = QDir::cleanPath(path);
    const auto file = m_files->find(cleanPath);
    if (file == m_files->end())
        throw HostError(HostError::Kind::OpenFailed, u"Cannot open %1"_s.arg(path));
    const QString name = QFileInfo(cleanPath).fileName();
    for (const OpenBook& open : std::as_const(m_books))
        if (open.name == name)
            throw HostError(HostError::Kind::General, u"A workbook %1 is already open"_s.arg(name));
    OpenBook book{name, cleanPath, file->second};
    if (book.content.activeSheet < 1 || book.content.activeSheet > book.content.sheets.size())
        book.content.activeSheet = 1;
    m_books.append(book);
    m_active = name;
    return name;
}

QString InMemoryHost::addWorkbook()
{
    enter(u"addWorkbook"_s, {});
    OpenBook book;
    book.name = u"Book%1"_s.arg(++m_addedBooks);
    book.content.addSheet(u"Sheet1"_s);
    m_books.append(book);
    m_active = book.name;
    return book.name;
}

QStringList InMemoryHost::workbookNames()
{
    enter(u"workbookNames"_s, {});
    QStringList names;
    for (const OpenBook& open : std::as_const(m_books))
        names.append(open.name);
    return names;
}

QString InMemoryHost::activeWorkbook()
{
    enter(u"activeWorkbook"_s, {});
    return m_active;
}

void InMemoryHost::activateWorkbook(const QString& book)
{
    enter(u"activateWorkbook"_s, args(book));
    m_active = openBook(book).name;
}

void InMemoryHost::saveWorkbook(const QString& book)
{
    enter(u"saveWorkbook"_s, args(book));
    const OpenBook& open = openBook(book);
    if (open.path.isEmpty())
        throw HostError(HostError::Kind::General, u"%1 has never been saved"_s.arg(book));
    (*m_files)[open.path] = open.content;
}

void InMemoryHost::closeWorkbook(const QString& book)
{
    enter(u"closeWorkbook"_s, args(book));
    openBook(book);
    m_books.removeIf([&book](const OpenBook& open) { return open.name == book; });
    if (m_active == book)
        m_active = m_books.isEmpty() ? QString() : m_books.last().name;
}

void InMemoryHost::closeAllWorkbooks()
{
    enter(u"closeAllWorkbooks"_s, {});
    m_books.clear();
    m_active.clear();
}

int InMemoryHost::sheetCount(const QString& book)
{
    enter(u"sheetCount"_s, args(book));
    return static_cast<int>(openBook(book).content.sheets.size());
}

QString InMemoryHost::sheetName(const QString& book, int sheet)
{
    enter(u"sheetName"_s, args(book, sheet));
    return sheetOf(book, sheet).name;
}

void InMemoryHost::setSheetName(const QString& book, int sheet, const QString& name)
{
    enter(u"setSheetName"_s, args(book, sheet, name));
    SheetContent& target = sheetOf(book, sheet);
    bool taken = false;
    for (const SheetContent& other : std::as_const(openBook(book).content.sheets))
        taken = taken || (&other != &target && other.name.compare(name, Qt::CaseInsensitive) == 0);
    if (taken || isRefusedSheetName(name))
        throw HostError(HostError::Kind::NameRefused, u"Sheet name refused: %1"_s.arg(name));
    target.name = name;
}

bool InMemoryHost::isSheetVisible(const QString& book, int sheet)
{
    enter(u"isSheetVisible"_s, args(book, sheet));
    return sheetOf(book, sheet).visible;
}

int InMemoryHost::activeSheet(const QString& book)
{
    enter(u"activeSheet"_s, args(book));
    return openBook(book).content.activeSheet;
}

void InMemoryHost::activateSheet(const QString& book, int sheet)
{
    enter(u"activateSheet"_s, args(book, sheet));
    sheetOf(book, sheet);
    openBook(book).content.activeSheet = sheet;
}

void InMemoryHost::deleteSheet(const QString& book, const QString& name)
{
    enter(u"deleteSheet"_s, args(book, name));
    WorkbookContent& content = openBook(book).content;
    const auto index = std::find_if(content.sheets.cbegin(), content.sheets.cend(),
                                    [&name](const SheetContent& s) { return s.name == name; }) -
                       content.sheets.cbegin();
    if (index == content.sheets.size())
        throw HostError(HostError::Kind::NotFound, u"No sheet %1 in %2"_s.arg(name, book));
    if (content.sheets.size() == 1)
        throw HostError(HostError::Kind::General, u"Cannot delete the only sheet"_s);
    content.sheets.removeAt(index);
    const int position = static_cast<int>(index) + 1;
    if (content.activeSheet > position || content.activeSheet > content.sheets.size())
        --content.activeSheet;
}

bool InMemoryHost::isSheetProtected(const QString& book, int sheet)
{
    enter(u"isSheetProtected"_s, args(book, sheet));
    return sheetOf(book, sheet).isProtected;
}

void InMemoryHost::unprotectSheet(const QString& book, int sheet, const QString& password)
{
    enter(u"unprotectSheet"_s, args(book, sheet, password));
    SheetContent& target = sheetOf(book, sheet);
    if (!target.isProtected)
        return;
    if (password != target.password)
        throw HostError(HostError::Kind::WrongPassword, u"Wrong password"_s);
    target.isProtected = false;
    target.password.clear();
}

CellPosition InMemoryHost::lastUsedCell(const QString& book, int sheet)
{
    enter(u"lastUsedCell"_s, args(book, sheet));
    const SheetContent& target = sheetOf(book, sheet);
    if (target.isProtected)
        throw HostError(HostError::Kind::SheetProtected, u"The sheet is protected"_s);
    CellPosition last;
    for (const auto& [key, content] : target.cells) {
        last.row = std::max(last.row, key.first);
        last.column = std::max(last.column, key.second);
    }
    return last;
}

QString InMemoryHost::cellText(const QString& book, int sheet, int row, int column,
                               host::CellTextKind kind)
{
    enter(u"cellText"_s, args(book, sheet, row, column, kind));
    checkCell(row, column);
    const QDate nullDate = openBook(book).content.nullDate;
    const CellContent content = sheetOf(book, sheet).cell(row, column);
    return kind == host::CellTextKind::Value ? host::valueText(content, nullDate)
                                             : host::formulaText(content, nullDate);
}

QList<QStringList> InMemoryHost::rangeTexts(const QString& book, int sheet, const CellRange& range,
                                            host::CellTextKind kind)
{
    enter(u"rangeTexts"_s, args(book, sheet, range, kind));
    checkRange(range);
    const QDate nullDate = openBook(book).content.nullDate;
    const SheetContent& source = sheetOf(book, sheet);
    QList<QStringList> rows;
    for (int row = range.first.row; row <= range.last.row; ++row) {
        QStringList texts;
        for (int column = range.first.column; column <= range.last.column; ++column) {
            const CellContent content = source.cell(row, column);
            texts.append(kind == host::CellTextKind::Value ? host::valueText(content, nullDate)
                                                           : host::formulaText(content, nullDate));
        }
        rows.append(texts);
    }
    return rows;
}

void InMemoryHost::writeRows(const QString& book, int sheet, int topRow, int leftColumn,
                             const QList<QVariantList>& rows)
{
    qsizetype width = 0;
    for (const QVariantList& row : rows)
        width = std::max(width, row.size());
    enter(u"writeRows"_s, args(book, sheet, topRow, leftColumn)
                              << u"%1x%2"_s.arg(rows.size()).arg(width));
    SheetContent& target = sheetOf(book, sheet);
    checkCell(topRow, leftColumn);
    checkCell(topRow + static_cast<int>(rows.size()) - 1, leftColumn + static_cast<int>(width) - 1);
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            target.setCell(topRow + r, leftColumn + c, contentOf(rows[r][c]));
}

void InMemoryHost::setCellValue(const QString& book, int sheet, int row, int column,
                                const QVariant& value)
{
    enter(u"setCellValue"_s, args(book, sheet, row, column, value));
    checkCell(row, column);
    sheetOf(book, sheet).setCell(row, column, contentOf(value));
}

void InMemoryHost::setWrapText(const QString& book, int sheet, int row, int column, bool wrap)
{
    enter(u"setWrapText"_s, args(book, sheet, row, column, wrap));
    checkCell(row, column);
    SheetContent& target = sheetOf(book, sheet);
    if (wrap)
        target.wrappedCells.insert({row, column});
    else
        target.wrappedCells.erase({row, column});
}

void InMemoryHost::selectRange(const QString& book, int sheet, const CellRange& range)
{
    enter(u"selectRange"_s, args(book, sheet, range));
    checkRange(range);
    sheetOf(book, sheet);
}

void InMemoryHost::setFill(SheetContent& sheet, int row, int column, int colorIndex)
{
    if (colorIndex == host::ColorPalette::NoColor)
        sheet.fills.erase({row, column});
    else
        sheet.fills[{row, column}] = colorIndex;
}

void InMemoryHost::fillRange(const QString& book, int sheet, const CellRange& range, int colorIndex)
{
    enter(u"fillRange"_s, args(book, sheet, range, colorIndex));
    checkRange(range);
    SheetContent& target = sheetOf(book, sheet);
    if (colorIndex != host::ColorPalette::NoColor && !host::ColorPalette::isValidIndex(colorIndex))
        throw HostError(HostError::Kind::General, u"No colour %1"_s.arg(colorIndex));
    for (int row = range.first.row; row <= range.last.row; ++row)
        for (int column = range.first.column; column <= range.last.column; ++column)
            setFill(target, row, column, colorIndex);
}

void InMemoryHost::fillCells(const QString& book, int sheet, const QList<CellPosition>& cells,
                             int colorIndex)
{
    QStringList addresses;
    for (const CellPosition& cell : cells)
        addresses.append(host::cellAddress(cell.row, cell.column));
    enter(u"fillCells"_s, args(book, sheet, addresses.join(u' '), colorIndex));
    SheetContent& target = sheetOf(book, sheet);
    if (colorIndex != host::ColorPalette::NoColor && !host::ColorPalette::isValidIndex(colorIndex))
        throw HostError(HostError::Kind::General, u"No colour %1"_s.arg(colorIndex));
    for (const CellPosition& cell : cells)
        checkCell(cell.row, cell.column);
    for (const CellPosition& cell : cells)
        setFill(target, cell.row, cell.column, colorIndex);
}

void InMemoryHost::drawGrid(const QString& book, int sheet, const CellRange& range)
{
    enter(u"drawGrid"_s, args(book, sheet, range));
    checkRange(range);
    SheetContent& target = sheetOf(book, sheet);
    for (int row = range.first.row; row <= range.last.row; ++row)
        for (int column = range.first.column; column <= range.last.column; ++column)
            target.borders[{row, column}] = host::CellBorders{true, true, true, true};
}

int InMemoryHost::cellColorIndex(const QString& book, int sheet, int row, int column)
{
    enter(u"cellColorIndex"_s, args(book, sheet, row, column));
    checkCell(row, column);
    return sheetOf(book, sheet).fill(row, column);
}

host::CellBorders InMemoryHost::cellBorders(const QString& book, int sheet, int row, int column)
{
    enter(u"cellBorders"_s, args(book, sheet, row, column));
    checkCell(row, column);
    return sheetOf(book, sheet).border(row, column);
}

host::WindowGeometry InMemoryHost::windowGeometry(const QString& book)
{
    enter(u"windowGeometry"_s, args(book));
    return openBook(book).window;
}

void InMemoryHost::setWindowGeometry(const QString& book, const host::WindowGeometry& geometry)
{
    enter(u"setWindowGeometry"_s,
          args(book, geometry.top, geometry.left, geometry.width, geometry.height));
    openBook(book).window = geometry;
}

void InMemoryHost::arrangeWindows(host::WindowArrangement arrangement)
{
    const bool sideBySide = arrangement == host::WindowArrangement::SideBySide;
    enter(u"arrangeWindows"_s, {sideBySide ? u"SideBySide"_s : u"Stacked"_s});
    if (m_books.isEmpty())
        return;
    QList<OpenBook*> order;
    for (OpenBook& open : m_books)
        if (open.name == m_active)
            order.prepend(&open);
        else
            order.append(&open);
    const double count = static_cast<double>(order.size());
    for (int i = 0; i < order.size(); ++i) {
        host::WindowGeometry& window = order[i]->window;
        window.width = sideBySide ? ScreenWidth / count : ScreenWidth;
        window.height = sideBySide ? ScreenHeight : ScreenHeight / count;
        window.left = sideBySide ? i * window.width : 0;
        window.top = sideBySide ? 0 : i * window.height;
    }
}

void InMemoryHost::printWorkbook(const QString& book)
{
    enter(u"printWorkbook"_s, args(book));
    m_printJobs.append({openBook(book).name, 0, std::nullopt});
}

void InMemoryHost::printSheet(const QString& book, int sheet, std::optional<host::PageRange> pages)
{
    enter(u"printSheet"_s, args(book, sheet)
                               << (pages ? u"%1-%2"_s.arg(pages->from).arg(pages->to) : u"all"_s));
    sheetOf(book, sheet);
    m_printJobs.append({book, sheet, pages});
}

void InMemoryHost::handOver()
{
    enter(u"handOver"_s, {});
    m_visible = true;
    m_state = State::HandedOver;
}

void InMemoryHost::quit()
{
    enter(u"quit"_s, {});
    m_books.clear();
    m_active.clear();
    m_state = State::Quit;
}

} // namespace brelix::support
