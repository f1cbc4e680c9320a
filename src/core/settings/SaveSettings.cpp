#include "core/settings/SaveSettings.h"

#include "core/files/ProgramFolder.h"
#include "core/settings/SettingsTags.h"

#include <QSaveFile>

namespace brelix::settings {

using files::programFile;

namespace {

class Lines {
public:
    void add(QStringView tag, const QString& value)
    {
        m_text += tag;
        m_text += value;
        m_text += u"\r\n";
    }
    void add(QStringView tag, int value) { add(tag, QString::number(value)); }
    void addEntries(QStringView tag, const QStringList& entries)
    {
        for (const QString& entry : entries) {
            if (!entry.contains(u'\r') && !entry.contains(u'\n'))
                add(tag, entry);
        }
    }
    QString text() const { return m_text; }

private:
    QString m_text;
};

int checkValue(Qt::CheckState state)
{
    switch (state) {
    case Qt::Unchecked:
        return 0;
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2; // greyed
    }
    return 0;
}

} // namespace

QString settingsFileText(const Settings& settings)
{
    Lines lines;
    if (settings.startMode >= 0 && settings.startMode <= 2)
        lines.add(tag::StartMode, settings.startMode);
    if (settings.top)
        lines.add(tag::Top, *settings.top);
    if (settings.left)
        lines.add(tag::Left, *settings.left);
    lines.add(tag::ColourDifferences, checkValue(settings.colourDifferences));
    lines.add(tag::CaseSensitive, checkValue(settings.caseSensitive));
    if (settings.windowLayout >= 0 && settings.windowLayout <= 2)
        lines.add(tag::WindowLayout, settings.windowLayout);
    lines.add(tag::AlwaysOnTop, settings.alwaysOnTop ? 1 : 0);
    lines.addEntries(tag::FolderHistory, settings.folderHistory);
    lines.addEntries(tag::SearchHistory, settings.searchHistory);
    if (settings.printScope >= 0 && settings.printScope <= 3)
        lines.add(tag::PrintScope, settings.printScope);
    lines.add(tag::FileType, settings.fileTypeFilter);
    lines.add(tag::ToolbarRows, settings.toolbarRows);
    lines.add(tag::CompareTarget, settings.compareTarget);
    lines.add(tag::DiffColour, settings.diffColourIndex);
    return lines.text();
}

bool SaveSettings(const QString& filePath, const Settings& settings)
{
    const QByteArray bytes = settingsFileText(settings).toUtf8();
    QSaveFile file(filePath);
    // Never write into the old file in place: that is what could truncate it.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size())
        file.cancelWriting(); // commit then only removes the new file
    return file.commit();
}

bool SaveSettings(const Settings& settings)
{
    return SaveSettings(programFile(SettingsFileName.toString()), settings);
}

} // namespace brelix::settings
