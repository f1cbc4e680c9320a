#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>

namespace brelix::libreoffice {

// The members of a zip archive, the container of .xlsx and .ods files, read from its bytes.
class ZipArchive {
public:
    // Nothing when the bytes hold no readable central directory.
    static std::optional<ZipArchive> read(const QByteArray& bytes);

    bool contains(const QString& name) const { return m_entries.contains(name); }
    // The member's bytes, unpacked; nothing when it is absent or damaged.
    std::optional<QByteArray> member(const QString& name) const;

private:
    struct Entry {
        quint16 method = 0;
        quint32 packedSize = 0;
        quint32 size = 0;
        quint32 offset = 0;
    };

    explicit ZipArchive(const QByteArray& bytes) : m_bytes(bytes) {}

    QByteArray m_bytes;
    QHash<QString, Entry> m_entries;
};

} // namespace brelix::libreoffice
