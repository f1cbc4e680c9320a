#include "LibreOfficeWorkbookWriter.h"

#include "core/host/ColourPalette.h"
#include "host/libreoffice/OfficeConnection.h"
#include "host/libreoffice/OfficeProcess.h"
#include "host/libreoffice/UnoHelpers.h"

#include <QFileInfo>
#include <QUrl>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XFormulaParser.hpp>
#include <com/sun/star/sheet/XFormulaTokens.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/table/BorderLine2.hpp>
#include <com/sun/star/table/BorderLineStyle.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/util/Date.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>
#include <com/sun/star/util/XProtectable.hpp>
#include <map>
#include <stdexcept>

using namespace css;
using namespace Qt::StringLiterals;
using brelix::host::CellContent;

namespace brelix::contract {

struct LibreOfficeWorkbookWriter::Office {
    libreoffice::OfficeProcess process{true, true};
    libreoffice::OfficeConnection connection{process, std::chrono::seconds(60)};
};

namespace {

const char* filterFor(const QString& suffix)
{
    static const std::map<QString, const char*> filters = {
        {u"xls"_s, "MS Excel 97"},
        {u"xlsx"_s, "Calc MS Excel 2007 XML"},
        {u"ods"_s, "calc8"},
        {u"csv"_s, "Text - txt - csv (StarCalc)"}};
    return filters.at(suffix);
}

class DocumentFiller {
public:
    explicit DocumentFiller(const uno::Reference<sheet::XSpreadsheetDocument>& doc)
    {
        m_parser = libreoffice::userFormulaParser(doc);
        m_formats = uno::Reference<util::XNumberFormatsSupplier>(doc, uno::UNO_QUERY_THROW)
                        ->getNumberFormats();
    }

    void fillCell(const uno::Reference<sheet::XSpreadsheet>& sheet, sal_Int16 sheetIndex, int row,
                  int column, const CellContent& content)
    {
        const uno::Reference<table::XCell> cell = sheet->getCellByPosition(column - 1, row - 1);
        const uno::Reference<beans::XPropertySet> props{cell, uno::UNO_QUERY_THROW};
        if (!content.formula.isEmpty()) {
            const table::CellAddress at(sheetIndex, column - 1, row - 1);
            uno::Reference<sheet::XFormulaTokens>(cell, uno::UNO_QUERY_THROW)
                ->setTokens(m_parser->parseFormula(libreoffice::toOUString(content.formula), at));
        } else if (content.type == CellContent::Type::Text) {
            // As data, not as typed input: the text is stored exactly as given.
            uno::Sequence<uno::Sequence<uno::Any>> data(1);
            data.getArray()[0].realloc(1);
            data.getArray()[0].getArray()[0] <<= libreoffice::toOUString(content.text);
            uno::Reference<sheet::XCellRangeData>(
                sheet->getCellRangeByPosition(column - 1, row - 1, column - 1, row - 1),
                uno::UNO_QUERY_THROW)
                ->setDataArray(data);
        } else { // an error cell comes from its formula
            cell->setValue(content.number);
        }
        const char* code = nullptr;
        if (content.type == CellContent::Type::Boolean)
            code = "BOOLEAN";
        else if (content.style == CellContent::NumberStyle::Date)
            code = "YYYY/MM/DD";
        else if (content.style == CellContent::NumberStyle::Time)
            code = "HH:MM:SS";
        else if (content.style == CellContent::NumberStyle::DateTime)
            code = "YYYY/MM/DD HH:MM:SS";
        if (code)
            props->setPropertyValue("NumberFormat", uno::Any(formatKey(code)));
    }

private:
    sal_Int32 formatKey(const char* code)
    {
        const lang::Locale english("en", "US", "");
        const OUString text = OUString::createFromAscii(code);
        sal_Int32 key = m_formats->queryKey(text, english, false);
        if (key < 0)
            key = m_formats->addNew(text, english);
        return key;
    }

    uno::Reference<sheet::XFormulaParser> m_parser;
    uno::Reference<util::XNumberFormats> m_formats;
};

void styleCells(const uno::Reference<sheet::XSpreadsheet>& sheet, const support::SheetContent& s)
{
    auto propsAt = [&](const support::CellKey& key) {
        return uno::Reference<beans::XPropertySet>(
            sheet->getCellByPosition(key.second - 1, key.first - 1), uno::UNO_QUERY_THROW);
    };
    for (const auto& [key, index] : s.fills)
        propsAt(key)->setPropertyValue(
            "CellBackColor", uno::Any(static_cast<sal_Int32>(host::ColourPalette::rgb(index))));
    for (const auto& [key, b] : s.borders) {
        const std::pair<const char*, bool> edges[] = {{"LeftBorder2", b.left},
                                                      {"TopBorder2", b.top},
                                                      {"RightBorder2", b.right},
                                                      {"BottomBorder2", b.bottom}};
        for (const auto& [name, present] : edges) {
            table::BorderLine2 line;
            if (present) {
                line.LineStyle = table::BorderLineStyle::SOLID;
                line.OuterLineWidth = 26;
                line.LineWidth = 26;
            }
            propsAt(key)->setPropertyValue(OUString::createFromAscii(name), uno::Any(line));
        }
    }
}

} // namespace

LibreOfficeWorkbookWriter::LibreOfficeWorkbookWriter() : m_office(std::make_unique<Office>()) {}

LibreOfficeWorkbookWriter::~LibreOfficeWorkbookWriter()
{
    try {
        m_office->connection.desktop()->terminate();
    } catch (const uno::Exception&) {
    }
    m_office->connection.close();
    m_office->process.waitForExit(std::chrono::seconds(5));
}

void LibreOfficeWorkbookWriter::write(const QString& path, const support::WorkbookContent& content,
                                      const QString& password)
try {
    const QString suffix = QFileInfo(path).suffix().toLower();
    const beans::PropertyValue hidden = libreoffice::property("Hidden", uno::Any(true));
    const uno::Reference<lang::XComponent> component =
        m_office->connection.desktop()->loadComponentFromURL("private:factory/scalc", "_blank", 0,
                                                             {&hidden, 1});
    const uno::Reference<sheet::XSpreadsheetDocument> doc{component, uno::UNO_QUERY_THROW};
    const uno::Reference<beans::XPropertySet> docProps{doc, uno::UNO_QUERY_THROW};
    const QDate& nd = content.nullDate;
    docProps->setPropertyValue("NullDate", uno::Any(util::Date(static_cast<sal_uInt16>(nd.day()),
                                                               static_cast<sal_uInt16>(nd.month()),
                                                               static_cast<sal_Int16>(nd.year()))));

    const uno::Reference<sheet::XSpreadsheets> sheets = doc->getSheets();
    const uno::Reference<container::XIndexAccess> indexed{sheets, uno::UNO_QUERY_THROW};
    const int count = suffix == QLatin1String("csv") ? 1 : static_cast<int>(content.sheets.size());
    for (int i = indexed->getCount(); i < count; ++i)
        sheets->insertNewByName("Sheet_" + OUString::number(i + 1), static_cast<sal_Int16>(i));

    // Names first: formulas may refer to any sheet.
    for (int i = 0; i < count; ++i)
        uno::Reference<container::XNamed>(indexed->getByIndex(i), uno::UNO_QUERY_THROW)
            ->setName(libreoffice::toOUString(content.sheets[i].name));
    DocumentFiller filler(doc);
    for (int i = 0; i < count; ++i) {
        const support::SheetContent& s = content.sheets[i];
        const uno::Reference<sheet::XSpreadsheet> sheet{indexed->getByIndex(i),
                                                        uno::UNO_QUERY_THROW};
        for (const auto& [key, cell] : s.cells)
            filler.fillCell(sheet, static_cast<sal_Int16>(i), key.first, key.second, cell);
        styleCells(sheet, s);
        if (!s.visible)
            uno::Reference<beans::XPropertySet>(sheet, uno::UNO_QUERY_THROW)
                ->setPropertyValue("IsVisible", uno::Any(false));
        if (s.isProtected)
            uno::Reference<util::XProtectable>(sheet, uno::UNO_QUERY_THROW)
                ->protect(libreoffice::toOUString(s.password));
    }
    const uno::Reference<frame::XModel> model{doc, uno::UNO_QUERY_THROW};
    const int active = suffix == QLatin1String("csv") ? 1 : content.activeSheet;
    uno::Reference<sheet::XSpreadsheetView>(model->getCurrentController(), uno::UNO_QUERY_THROW)
        ->setActiveSheet(uno::Reference<sheet::XSpreadsheet>(indexed->getByIndex(active - 1),
                                                             uno::UNO_QUERY_THROW));

    std::vector<beans::PropertyValue> options = {
        libreoffice::property("FilterName", uno::Any(OUString::createFromAscii(filterFor(suffix)))),
        libreoffice::property("Overwrite", uno::Any(true)),
    };
    if (suffix == QLatin1String("csv"))
        options.push_back(libreoffice::property("FilterOptions", uno::Any(OUString("44,34,76,1"))));
    if (!password.isEmpty())
        options.push_back(
            libreoffice::property("Password", uno::Any(libreoffice::toOUString(password))));
    const OUString url = libreoffice::toOUString(
        QString::fromLatin1(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded()));
    uno::Reference<frame::XStorable>(doc, uno::UNO_QUERY_THROW)
        ->storeToURL(url, libreoffice::properties(options));
    uno::Reference<util::XCloseable>(doc, uno::UNO_QUERY_THROW)->close(true);
} catch (const uno::Exception& e) {
    throw std::runtime_error("writing " + path.toStdString() +
                             " failed: " + libreoffice::toQString(e.Message).toStdString());
}

} // namespace brelix::contract
