#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>

namespace brelix::support {

// Environment variables a test changes: their values, or their absence, come back when this
// goes.
class SavedEnvironment {
public:
    SavedEnvironment(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            m_saved[name] = qEnvironmentVariableIsSet(name)
                                ? std::optional<QByteArray>(qgetenv(name))
                                : std::nullopt;
    }
    ~SavedEnvironment()
    {
        for (const auto& [name, value] : m_saved) {
            if (value)
                qputenv(name.c_str(), *value);
            else
                qunsetenv(name.c_str());
        }
    }
    SavedEnvironment(const SavedEnvironment&) = delete;
    SavedEnvironment& operator=(const SavedEnvironment&) = delete;

private:
    std::map<std::string, std::optional<QByteArray>> m_saved;
};

} // namespace brelix::support
