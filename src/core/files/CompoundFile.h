#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace brelix::files {

// The streams of a compound document, the container of an .xls file, read from its bytes. Every
// sector a stream names must lie inside the bytes, so that a file cut short is told apart from
// a whole one even when its header survived, and must be named once: a chain that comes back
// to one of its sectors is damaged.
class CompoundFile {
public:
    // Nothing, with the reason in `problem`, when the bytes are no whole compound document.
    static std::optional<CompoundFile> read(const QByteArray& bytes, QString& problem);

    // A stream read where it lies: only the bytes asked for are copied. It reads the bytes of
    // the compound file it came from, which must outlive it.
    class Stream {
    public:
        qint64 size() const { return m_size; }
        // `length` bytes from `at`, fewer at the stream's end.
        QByteArray bytes(qint64 at, qint64 length) const;

    private:
        friend class CompoundFile;
        const QByteArray* m_source = nullptr;
        QList<qint64> m_units; // where each unit of the stream starts in the source
        qint64 m_unit = 512;
        qint64 m_size = 0;
    };

    // The stream of this name (letter case ignored); nothing, with the reason, when it is absent
    // or runs past the end of the file.
    std::optional<QByteArray> stream(const QString& name, QString& problem) const;
    std::optional<Stream> openStream(const QString& name, QString& problem) const;
    bool contains(const QString& name) const { return entry(name) >= 0; }

private:
    explicit CompoundFile(const QByteArray& bytes) : m_bytes(bytes) {}
    bool readAllocation(QString& problem);
    qint64 entry(const QString& name) const; // the directory entry's place, -1 when absent
    std::optional<QByteArray> chain(quint32 start, qint64 size, bool mini, QString& problem) const;
    std::optional<Stream> chainStream(quint32 start, qint64 size, bool mini,
                                      QString& problem) const;

    QByteArray m_bytes;
    int m_sectorSize = 512;
    int m_miniSectorSize = 64;
    quint32 m_miniCutoff = 4096;
    qint64 m_sectorCount = 0;
    QList<quint32> m_fat;
    QList<quint32> m_miniFat;
    QByteArray m_directory;
    QByteArray m_miniStream;
};

} // namespace brelix::files
