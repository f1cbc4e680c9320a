#include "host/libreoffice/InstanceRecord.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <array>
#include <cstdio>

namespace brelix::libreoffice {

namespace {

constexpr auto kRecordFile = "instance";
constexpr std::array<const char*, 3> kStateNames = {"owned", "handed-over", "returned"};

} // namespace

std::optional<InstanceRecord> InstanceRecord::read(const QString& instanceFolder)
{
    QFile file(QDir(instanceFolder).filePath(QLatin1String(kRecordFile)));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QList<QByteArray> fields = file.readAll().simplified().split(' ');
    if (fields.size() < 3)
        return std::nullopt;
    for (size_t s = 0; s < kStateNames.size(); ++s)
        if (fields[2] == kStateNames[s])
            return InstanceRecord{fields[0].toInt(), fields[1].toInt(), static_cast<State>(s)};
    return std::nullopt;
}

bool InstanceRecord::write(const QString& instanceFolder) const
{
    const QString path = QDir(instanceFolder).filePath(QLatin1String(kRecordFile));
    QFile file(path + QStringLiteral(".new"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write(QByteArray::number(owner) + ' ' + QByteArray::number(office) + ' ' +
               kStateNames[static_cast<size_t>(state)] + '\n');
    file.close();
    return std::rename(QFile::encodeName(file.fileName()).constData(),
                       QFile::encodeName(path).constData()) == 0;
}

} // namespace brelix::libreoffice
