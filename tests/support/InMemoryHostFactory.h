#pragma once

#include "InMemoryHost.h"
#include "core/host/SpreadsheetHostFactory.h"
#include "core/run/TwoOfficeHost.h"

#include <QDir>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace brelix::support {

// Starts in-memory hosts over one shared file table. The factory keeps a handle on every
// instance it started, so a test can inspect calls and workbooks after the code under test
// let go of it.
class InMemoryHostFactory : public host::SpreadsheetHostFactory {
public:
    void addFile(const QString& path, const WorkbookContent& content)
    {
        (*m_files)[QDir::cleanPath(path)] = content;
    }
    std::optional<WorkbookContent> savedContent(const QString& path) const
    {
        const auto it = m_files->find(QDir::cleanPath(path));
        return it == m_files->end() ? std::nullopt : std::optional(it->second);
    }

    // While set, start() throws StartFailed.
    void setFailStart(bool fail) { m_failStart = fail; }
    // Runs on every new instance before it is handed out, e.g. to arm failOn.
    void onStart(std::function<void(InMemoryHost&)> prepare) { m_prepare = std::move(prepare); }

    // Several offices may start at once.
    std::unique_ptr<host::SpreadsheetHost> start() override
    {
        const std::lock_guard lock(m_startMutex);
        if (m_failStart)
            throw host::HostError(host::HostError::Kind::StartFailed,
                                  QStringLiteral("The spreadsheet instance did not start"));
        m_hosts.push_back(std::make_unique<InMemoryHost>(m_files));
        if (m_prepare)
            m_prepare(*m_hosts.back());
        return std::make_unique<InMemoryHost>(*m_hosts.back()); // the factory keeps its own handle
    }
    // While set, a job that opens two workbooks at once gets two instances behind one host.
    void setTwoOfficesForTwoWorkbooks(bool on) { m_twoOffices = on; }
    std::unique_ptr<host::SpreadsheetHost> startForTwoWorkbooks() override
    {
        if (!m_twoOffices)
            return start();
        std::unique_ptr<host::SpreadsheetHost> first = start();
        return std::make_unique<run::TwoOfficeHost>(std::move(first), start());
    }
    // While set, an instance handed over earlier is still open.
    void setHandedOverInstanceOpen(bool open) { m_handedOverOpen = open; }
    bool handedOverInstanceOpen() override { return m_handedOverOpen; }

    int startCount() const { return static_cast<int>(m_hosts.size()); }
    // Instances in the order they were started, from 0.
    InMemoryHost& host(int index) { return *m_hosts.at(static_cast<size_t>(index)); }
    InMemoryHost& lastHost() { return *m_hosts.back(); }

private:
    std::shared_ptr<InMemoryHost::FileTable> m_files = std::make_shared<InMemoryHost::FileTable>();
    std::vector<std::unique_ptr<InMemoryHost>> m_hosts;
    std::function<void(InMemoryHost&)> m_prepare;
    bool m_failStart = false;
    bool m_handedOverOpen = false;
    bool m_twoOffices = false;
    std::recursive_mutex m_startMutex;
};

} // namespace brelix::support
