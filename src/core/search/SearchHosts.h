#pragma once

#include "core/host/SpreadsheetHostFactory.h"

#include <memory>

namespace brelix::search {

// The office instances of one search. Every workbook must find an instance with nothing of the
// previous workbook in it; an instance whose workbooks were all closed is such an instance,
// and taking it again saves the second an office needs to start.
class SearchHosts {
public:
    explicit SearchHosts(host::SpreadsheetHostFactory& factory) : m_factory(factory) {}
    ~SearchHosts();
    SearchHosts(const SearchHosts&) = delete;
    SearchHosts& operator=(const SearchHosts&) = delete;

    // An idle instance, or a new hidden one; throws HostError when none starts.
    std::unique_ptr<host::SpreadsheetHost> take();
    // Keeps the instance for the next take() when it holds no workbook, else quits it.
    void giveBack(std::unique_ptr<host::SpreadsheetHost> host);
    // The idle instance, if there is one.
    std::unique_ptr<host::SpreadsheetHost> takeIdle() { return std::move(m_idle); }

private:
    host::SpreadsheetHostFactory& m_factory;
    std::unique_ptr<host::SpreadsheetHost> m_idle;
};

} // namespace brelix::search
