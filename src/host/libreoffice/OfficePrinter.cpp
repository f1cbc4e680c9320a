#include "host/libreoffice/OfficePrinter.h"

#include "core/host/HostError.h"
#include "host/libreoffice/OpenWorkbook.h"
#include "host/libreoffice/PrintJobWatcher.h"
#include "host/libreoffice/UnoHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/container/XNameReplace.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/util/XChangesBatch.hpp>
#include <com/sun/star/view/XPrintJobBroadcaster.hpp>
#include <com/sun/star/view/XPrintable.hpp>
#include <rtl/ref.hxx>

namespace brelix::libreoffice {

using namespace css;
using host::HostError;

namespace {

// Removes what a file name cannot hold.
QString safeFileName(QString name)
{
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return name.isEmpty() ? QStringLiteral("print") : name;
}

} // namespace

QString OfficePrinter::freshPdfPath(const QString& folder, const QString& stem)
{
    const QDir dir(folder);
    const QString base = safeFileName(stem);
    QString path = dir.filePath(base + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1 (%2).pdf").arg(base).arg(n));
    return path;
}

void OfficePrinter::setAllSheets(bool all)
{
    if (m_allSheets == all)
        return;
    // The office prints the selected sheet only, unless its configuration says otherwise.
    const uno::Reference<lang::XMultiServiceFactory> provider{
        m_context->getServiceManager()->createInstanceWithContext(
            OUString("com.sun.star.configuration.ConfigurationProvider"), m_context),
        uno::UNO_QUERY_THROW};
    beans::NamedValue path;
    path.Name = OUString("nodepath");
    path.Value <<= OUString("/org.openoffice.Office.Calc/Print/Other");
    uno::Sequence<uno::Any> args(1);
    args.getArray()[0] <<= path;
    const uno::Reference<container::XNameReplace> node{
        provider->createInstanceWithArguments(
            OUString("com.sun.star.configuration.ConfigurationUpdateAccess"), args),
        uno::UNO_QUERY_THROW};
    node->replaceByName(OUString("AllSheets"), uno::Any(all));
    uno::Reference<util::XChangesBatch>(node, uno::UNO_QUERY_THROW)->commitChanges();
    m_allSheets = all;
}

void OfficePrinter::print(const OpenWorkbook& book, bool allSheets,
                          std::optional<host::PageRange> pages, const QString& jobName)
{
    setAllSheets(allSheets);
    std::vector<beans::PropertyValue> options = {
        property("CopyCount", uno::Any(sal_Int16(1))),
        property("Wait", uno::Any(true)),
    };
    if (pages)
        options.push_back(property(
            "Pages",
            uno::Any(toOUString(QStringLiteral("%1-%2").arg(pages->from).arg(pages->to)))));
    const QString pdfFolder = qEnvironmentVariable("BRELIX_PDF_DIR");
    QString pdfPath;
    if (!pdfFolder.isEmpty()) {
        if (!QFileInfo(pdfFolder).isDir())
            throw HostError(HostError::Kind::PrintFailed,
                            QStringLiteral("the PDF folder %1 does not exist").arg(pdfFolder));
        pdfPath = freshPdfPath(pdfFolder, jobName);
        options.push_back(property("FileName", uno::Any(toOUString(pdfPath))));
    }

    try {
        const rtl::Reference<PrintJobWatcher> watcherImpl = new PrintJobWatcher;
        const uno::Reference<view::XPrintJobListener> watcher(watcherImpl.get());
        const uno::Reference<view::XPrintJobBroadcaster> broadcaster{book.model,
                                                                     uno::UNO_QUERY_THROW};
        broadcaster->addPrintJobListener(watcher);
        const uno::Reference<view::XPrintable> printable{book.model, uno::UNO_QUERY_THROW};
        printable->print(properties(options));
        const auto end = watcherImpl->waitForEnd(std::chrono::seconds(30));
        broadcaster->removePrintJobListener(watcher);

        const bool spooled = end && (*end == view::PrintableState_JOB_SPOOLED ||
                                     *end == view::PrintableState_JOB_COMPLETED);
        if (!spooled)
            throw HostError(HostError::Kind::PrintFailed,
                            QStringLiteral("%1 was not printed: %2")
                                .arg(book.name, !end
                                                    ? QStringLiteral("the print job did not finish")
                                                : *end == view::PrintableState_JOB_ABORTED
                                                    ? QStringLiteral("the print job was aborted")
                                                    : QStringLiteral("no printer took the job")));
        if (!pdfPath.isEmpty() && !QFileInfo::exists(pdfPath))
            throw HostError(HostError::Kind::PrintFailed,
                            QStringLiteral("%1 was not printed to %2").arg(book.name, pdfPath));
    } catch (...) {
        // A job that failed, or whose office died, leaves no half-written file behind.
        if (!pdfPath.isEmpty())
            QFile::remove(pdfPath);
        throw;
    }
}

} // namespace brelix::libreoffice
