#include "core/search/HitFile.h"

namespace brelix::search {

namespace {

constexpr int kFields = 6;

bool needsQuotes(const QString& field)
{
    for (const QChar c : field)
        if (c == u',' || c == u'"' || c == u'\r' || c == u'\n')
            return true;
    return false;
}

bool atLineEnd(const QString& text, qsizetype i)
{
    return text[i] == u'\n' || text[i] == u'\r';
}

// Skips CR LF, LF or a lone CR.
qsizetype skipLineEnd(const QString& text, qsizetype i)
{
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
        return i + 2;
    return i + 1;
}

// A field from `i` on, which is left at the comma or line end after it.
QString readField(const QString& text, qsizetype& i)
{
    QString field;
    if (i < text.size() && text[i] == u'"') {
        for (++i; i < text.size(); ++i) {
            if (text[i] != u'"') {
                field += text[i];
            } else if (i + 1 < text.size() && text[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else {
                ++i;
                break;
            }
        }
    }
    // Plain text up to the next comma or line end (after a quoted part: whatever follows it).
    while (i < text.size() && text[i] != u',' && !atLineEnd(text, i))
        field += text[i++];
    return field;
}

} // namespace

bool HitFile::create()
{
    return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

void HitFile::cutBackTo(qint64 end)
{
    if (!m_file.isOpen())
        return;
    m_file.flush();
    m_file.resize(end);
    m_file.seek(end);
}

void HitFile::append(const HitRecord& record)
{
    if (m_file.isOpen())
        m_file.write((line(record.fields()) + QStringLiteral("\r\n")).toUtf8());
}

QString HitFile::line(const QStringList& fields)
{
    QStringList written;
    for (const QString& field : fields) {
        if (!needsQuotes(field)) {
            written.append(field);
            continue;
        }
        QString quoted = field;
        quoted.replace(u'"', QStringLiteral("\"\""));
        written.append(u'"' + quoted + u'"');
    }
    return written.join(u',');
}

QList<QStringList> HitFile::parse(const QString& text)
{
    QList<QStringList> records;
    qsizetype i = 0;
    while (i < text.size()) {
        QStringList fields;
        bool recordEnded = false;
        while (!recordEnded) {
            fields.append(readField(text, i));
            if (i >= text.size()) {
                recordEnded = true;
            } else if (text[i] == u',') {
                ++i;
            } else {
                i = skipLineEnd(text, i);
                recordEnded = true;
            }
        }
        while (fields.size() < kFields)
            fields.append(QString());
        records.append(fields.mid(0, kFields));
    }
    return records;
}

QList<QStringList> HitFile::read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parse(QString::fromUtf8(file.readAll()));
}

} // namespace brelix::search
