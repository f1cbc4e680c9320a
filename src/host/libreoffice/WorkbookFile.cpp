#include "host/libreoffice/WorkbookFile.h"

#include "core/files/TextDecoding.h"
#include "core/files/WorkbookKind.h"
#include "core/host/HostError.h"
#include "host/libreoffice/ZipArchive.h"

#include <QFile>
#include <QHash>
#include <QXmlStreamReader>

namespace brelix::libreoffice {

using files::WorkbookKind;
using host::HostError;

namespace {

// The office cuts a longer cell of a comma-separated file without a word.
constexpr qsizetype kLongestCsvCell = 65535;

const QString kOdfTable = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString kOdfOffice = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");

[[noreturn]] void refuse(const QString& path, const QString& why)
{
    throw HostError(HostError::Kind::OpenFailed,
                    QStringLiteral("%1 is not a workbook: %2").arg(path, why));
}

// The relationships of a package part: each one's type and target by its id.
QHash<QString, std::pair<QString, QString>> relationships(const ZipArchive& zip,
                                                          const QString& relsPart)
{
    QHash<QString, std::pair<QString, QString>> found;
    const std::optional<QByteArray> rels = zip.member(relsPart);
    QXmlStreamReader xml(rels.value_or(QByteArray()));
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement &&
            xml.name() == QLatin1String("Relationship"))
            found.insert(xml.attributes().value(QLatin1String("Id")).toString(),
                         {xml.attributes().value(QLatin1String("Type")).toString(),
                          xml.attributes().value(QLatin1String("Target")).toString()});
    return found;
}

// The workbook part the package names, where writers almost always put it otherwise.
QString workbookPart(const ZipArchive& zip)
{
    for (const auto& [type, target] : relationships(zip, QStringLiteral("_rels/.rels")))
        if (type.endsWith(QLatin1String("/officeDocument")))
            return target.startsWith(u'/') ? target.mid(1) : target;
    return QStringLiteral("xl/workbook.xml");
}

// The sheets of the workbook part that are worksheets by their relationships; a workbook
// without readable relationships counts every sheet.
std::optional<int> excel2007Sheets(const ZipArchive& zip)
{
    const QString part = workbookPart(zip);
    const std::optional<QByteArray> workbook = zip.member(part);
    if (!workbook)
        return std::nullopt;
    const qsizetype slash = part.lastIndexOf(u'/') + 1;
    const auto relations = relationships(zip, part.left(slash) + QStringLiteral("_rels/") +
                                                  part.mid(slash) + QStringLiteral(".rels"));
    int count = 0;
    QXmlStreamReader xml(*workbook);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement ||
            xml.name() != QLatin1String("sheet"))
            continue;
        QString relation;
        for (const QXmlStreamAttribute& a : xml.attributes())
            if (a.name() == QLatin1String("id"))
                relation = a.value().toString();
        if (relations.isEmpty() ||
            relations.value(relation).first.endsWith(QLatin1String("/worksheet")))
            ++count;
    }
    if (xml.hasError())
        return std::nullopt;
    return count;
}

// The tables of an OpenDocument spreadsheet's content; nothing when it cannot be read (an
// encrypted one, which the office reads with its password).
std::optional<int> openDocumentSheets(const ZipArchive& zip)
{
    const std::optional<QByteArray> content = zip.member(QStringLiteral("content.xml"));
    if (!content)
        return std::nullopt;
    int count = 0;
    int depth = 0;
    int spreadsheetDepth = -1;
    QXmlStreamReader xml(*content);
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (depth-- == spreadsheetDepth)
                spreadsheetDepth = -1;
        } else if (token == QXmlStreamReader::StartElement) {
            ++depth;
            if (xml.namespaceUri() == kOdfOffice && xml.name() == QLatin1String("spreadsheet"))
                spreadsheetDepth = depth;
            else if (spreadsheetDepth >= 0 && depth == spreadsheetDepth + 1 &&
                     xml.namespaceUri() == kOdfTable && xml.name() == QLatin1String("table"))
                ++count;
        }
    }
    if (xml.hasError())
        return std::nullopt;
    return count;
}

} // namespace

WorkbookFile WorkbookFile::inspect(const QString& path)
{
    const std::optional<WorkbookKind::Format> format = WorkbookKind::fromName(path);
    if (!format)
        refuse(path, QStringLiteral("only .xls, .xlsx, .ods and .csv files are read"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw HostError(HostError::Kind::OpenFailed,
                        QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    WorkbookFile plan;
    QString problem;
    switch (*format) {
    case WorkbookKind::Format::Excel97: {
        const std::optional<QStringList> sheets = WorkbookKind::excelSheets(bytes, problem);
        if (!sheets)
            refuse(path, problem);
        plan.filterName = QStringLiteral("MS Excel 97"); // reads BIFF5 and BIFF7 as well
        if (!sheets->isEmpty())
            plan.declaredSheets = int(sheets->size());
        break;
    }
    case WorkbookKind::Format::Excel2007: {
        const std::optional<ZipArchive> zip = ZipArchive::read(bytes);
        if (!zip || !zip->contains(QStringLiteral("[Content_Types].xml")) ||
            !zip->contains(workbookPart(*zip)))
            refuse(path, QStringLiteral("its bytes are not those of an .xlsx workbook"));
        plan.filterName = QStringLiteral("Calc MS Excel 2007 XML");
        plan.declaredSheets = excel2007Sheets(*zip);
        break;
    }
    case WorkbookKind::Format::OpenDocument: {
        const std::optional<ZipArchive> zip = ZipArchive::read(bytes);
        if (!zip || zip->member(QStringLiteral("mimetype")) !=
                        QByteArray("application/vnd.oasis.opendocument.spreadsheet"))
            refuse(path, QStringLiteral("its bytes are not those of an .ods workbook"));
        plan.filterName = QStringLiteral("calc8");
        plan.declaredSheets = openDocumentSheets(*zip);
        break;
    }
    case WorkbookKind::Format::Csv: {
        const bool utf8 = files::isUtf8(bytes);
        if (WorkbookKind::longestCsvField(files::decodeUtf8OrShiftJis(bytes)) > kLongestCsvCell)
            throw HostError(HostError::Kind::OpenFailed,
                            QStringLiteral("%1 has a cell longer than %2 characters, the most "
                                           "the office reads into one cell")
                                .arg(path)
                                .arg(kLongestCsvCell));
        // Comma, double quotes, UTF-8 unless the bytes are not UTF-8: then Shift-JIS, as older
        // Windows tools write; first line 1, no column formats, en-US so that "." is the
        // decimal point, quoted fields as text, special numbers detected.
        plan.filterName = QStringLiteral("Text - txt - csv (StarCalc)");
        plan.filterOptions =
            QStringLiteral("44,34,%1,1,,1033,false,true").arg(utf8 ? 76 : 60 /* MS-932 */);
        break;
    }
    }
    return plan;
}

} // namespace brelix::libreoffice
