#include "InMemoryHostFactory.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace brelix::support {

InMemoryHostFactory::InMemoryHostFactory() : m_files(std::make_shared<InMemoryHost::FileTable>()) {}

void InMemoryHostFactory::addFile(const QString& path, const WorkbookContent& content)
{
    (*m_files)[QDir::cleanPath(path)] = content;
}

std::optional<WorkbookContent> InMemoryHostFactory::savedContent(const QString& path) const
{
    const auto it = m_files->find(QDir::cleanPath(path));
    if (it == m_files->end())
        return std::nullopt;
    return it->second;
}

std::unique_ptr<host::SpreadsheetHost> InMemoryHostFactory::start()
{
    if (m_failStart)
        throw host::HostError(host::HostError::Kind::StartFailed,
                              u"The spreadsheet instance did not start"_s);
    m_hosts.push_back(std::make_unique<InMemoryHost>(m_files));
    if (m_prepare)
        m_prepare(*m_hosts.back());
    return std::make_unique<InMemoryHost>(*m_hosts.back()); // the factory keeps its own handle
}

} // namespace brelix::support
