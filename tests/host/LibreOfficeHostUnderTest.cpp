#include "HostUnderTest.h"
#include "LibreOfficeWorkbookWriter.h"
#include "host/libreoffice/LibreOfficeHostFactory.h"

namespace brelix::contract {

namespace {

class LibreOfficeHostUnderTest : public HostUnderTest {
public:
    void writeFile(const QString& path, const support::WorkbookContent& content) override
    {
        m_writer.write(path, content);
    }

    std::unique_ptr<host::SpreadsheetHost> start() override { return m_factory.start(); }

private:
    LibreOfficeWorkbookWriter m_writer;
    libreoffice::LibreOfficeHostFactory m_factory{{libreoffice::OfficeOptions::Display::Headless}};
};

} // namespace

std::unique_ptr<HostUnderTest> makeHostUnderTest()
{
    return std::make_unique<LibreOfficeHostUnderTest>();
}

} // namespace brelix::contract
