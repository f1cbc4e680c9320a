#pragma once

#include "core/search/HitRecord.h"

#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

namespace brelix::search {

// The hit file: one line per hit, six fields joined by commas, CR LF after each line, UTF-8.
// A field holding a comma, a double quote, CR or LF is written between double quotes with its
// quotes doubled, so that no hit loses its text or shifts its columns; every other line is the
// plain comma-joined form.
class HitFile {
public:
    explicit HitFile(QString path) : m_file(std::move(path)) {}

    // Replaces any earlier file; false when it cannot be written.
    bool create();
    void append(const HitRecord& record);
    // Where the next line goes, and a return there that drops the lines after it.
    qint64 end() const { return m_file.pos(); }
    void cutBackTo(qint64 end);
    void close() { m_file.close(); }
    QString path() const { return m_file.fileName(); }

    // The records of a hit file, each as exactly six fields (missing ones empty, extra ones
    // dropped); nothing when the file cannot be read.
    static QList<QStringList> read(const QString& path);

    // A record's line without its line end.
    static QString line(const QStringList& fields);
    // The records of a hit file's text.
    static QList<QStringList> parse(const QString& text);

private:
    QFile m_file;
};

} // namespace brelix::search
