#pragma once

#include "core/run/ResponsiveHost.h"

namespace brelix::run {

// Starts each instance as a ResponsiveHost that waits on the given run's window.
class ResponsiveHostFactory : public host::SpreadsheetHostFactory {
public:
    ResponsiveHostFactory(host::SpreadsheetHostFactory& factory, RunUi& ui)
        : m_factory(factory), m_ui(ui)
    {
    }
    std::unique_ptr<host::SpreadsheetHost> start() override
    {
        return std::make_unique<ResponsiveHost>(m_factory, m_ui);
    }
    std::unique_ptr<host::SpreadsheetHost> startForTwoWorkbooks() override
    {
        return std::make_unique<ResponsiveHost>(m_factory, m_ui, true);
    }
    bool handedOverInstanceOpen() override { return m_factory.handedOverInstanceOpen(); }
    QString environment() override { return m_factory.environment(); }

private:
    host::SpreadsheetHostFactory& m_factory;
    RunUi& m_ui;
};

} // namespace brelix::run
