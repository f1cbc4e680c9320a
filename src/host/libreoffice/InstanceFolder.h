#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <utility>

namespace brelix::libreoffice {

// The folder of one office of ours, in the offices' folder and named by its pipe: its profile,
// its temporary files, its log and its record lie there; the sockets it leaves in /tmp go with
// it.
class InstanceFolder {
public:
    explicit InstanceFolder(QString path) : m_path(std::move(path)) {}
    static InstanceFolder ofPipe(const QString& pipeName);

    const QString& path() const { return m_path; }
    QString profile() const { return m_path + QStringLiteral("/profile"); }
    // The office's profile as its command line names it.
    QByteArray profileUrl() const;
    // For the files it works on: its TMPDIR.
    QString scratch() const { return m_path + QStringLiteral("/tmp"); }
    // What the office says on its terminal.
    QString log() const { return m_path + QStringLiteral("/office.log"); }
    // The sockets the office listens on, which it leaves in /tmp when it is killed.
    QStringList sockets() const;
    // Once the office has ended.
    void remove() const;

private:
    QString m_path;
};

} // namespace brelix::libreoffice
