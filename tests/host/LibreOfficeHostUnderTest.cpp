#include "HostUnderTest.h"
#include "InspectableLibreOfficeHost.h"
#include "LibreOfficeWorkbookWriter.h"
#include "OfficeFixtures.h"

namespace brelix::contract {

namespace {

class LibreOfficeHostUnderTest : public HostUnderTest {
public:
    void writeFile(const QString& path, const support::WorkbookContent& content,
                   const QString& password) override
    {
        m_writer.write(path, content, password);
    }

    std::unique_ptr<host::SpreadsheetHost> start() override
    {
        return std::make_unique<InspectableLibreOfficeHost>(headlessOffice());
    }

private:
    LibreOfficeWorkbookWriter m_writer;
};

} // namespace

std::unique_ptr<HostUnderTest> makeHostUnderTest()
{
    return std::make_unique<LibreOfficeHostUnderTest>();
}

} // namespace brelix::contract
