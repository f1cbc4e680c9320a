#include "HostContractTest.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace brelix::contract {

namespace {

std::unique_ptr<HostUnderTest> s_subject;
std::unique_ptr<host::SpreadsheetHost> s_host;

// One instance serves every suite (an office takes seconds to start); it and the subject end
// before static destruction, while the program can still talk to them.
class SubjectEnvironment : public ::testing::Environment {
public:
    void TearDown() override
    {
        if (s_host)
            try {
                s_host->quit();
            } catch (const host::HostError&) {
                // A test already ended it.
            }
        s_host.reset();
        s_subject.reset();
    }
};

[[maybe_unused]] const auto* const s_environment =
    ::testing::AddGlobalTestEnvironment(new SubjectEnvironment);

} // namespace

void HostContractTest::TearDown()
{
    if (!s_host)
        return;
    try {
        s_host->closeAllWorkbooks();
    } catch (const host::HostError&) {
        s_host.reset(); // broken; the next test starts a new one
    }
}

HostUnderTest& HostContractTest::subject()
{
    if (!s_subject)
        s_subject = makeHostUnderTest();
    return *s_subject;
}

host::SpreadsheetHost& HostContractTest::sharedHost()
{
    if (!s_host)
        s_host = subject().start();
    return *s_host;
}

support::HostProbe& HostContractTest::probe()
{
    return dynamic_cast<support::HostProbe&>(sharedHost());
}

QString HostContractTest::pathOf(const QString& fileName) const
{
    return QDir(m_dir.path()).filePath(fileName);
}

QString HostContractTest::writeFile(const QString& fileName,
                                    const support::WorkbookContent& content,
                                    const QString& password)
{
    const QString path = pathOf(fileName);
    QDir().mkpath(QFileInfo(path).path());
    subject().writeFile(path, content, password);
    return path;
}

QString HostContractTest::open(const QString& fileName, const support::WorkbookContent& content)
{
    return sharedHost().openWorkbook(writeFile(fileName, content));
}

std::vector<QString> workbookFormats()
{
    return {u"xls"_s, u"xlsx"_s, u"ods"_s};
}

std::string formatName(const ::testing::TestParamInfo<QString>& info)
{
    return info.param.toStdString();
}

} // namespace brelix::contract
