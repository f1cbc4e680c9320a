#pragma once

#include "core/host/SpreadsheetHost.h"

#include <QString>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <optional>

namespace brelix::libreoffice {

struct OpenWorkbook;

// Prints workbooks of one office to its default printer, or to PDF files in the folder that
// BRELIX_PDF_DIR names. Every job is watched: one that fails throws.
class OfficePrinter {
public:
    explicit OfficePrinter(css::uno::Reference<css::uno::XComponentContext> context)
        : m_context(std::move(context))
    {
    }

    // All sheets, or only the active one; all pages, or a range of them.
    void print(const OpenWorkbook& book, bool allSheets, std::optional<host::PageRange> pages,
               const QString& jobName);

    // A file name in the folder that no earlier file has: stem.pdf, stem (2).pdf, ...
    static QString freshPdfPath(const QString& folder, const QString& stem);

private:
    void setAllSheets(bool all);

    css::uno::Reference<css::uno::XComponentContext> m_context;
    std::optional<bool> m_allSheets;
};

} // namespace brelix::libreoffice
