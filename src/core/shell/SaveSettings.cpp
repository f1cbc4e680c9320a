#include "SaveSettings.h"

#include "ProgramFolder.h"
#include "SettingsTags.h"

#include <QSaveFile>

namespace brelix::shell {

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
    if (settings.gKind >= 0 && settings.gKind <= 2)
        lines.add(tag::Kind, settings.gKind);
    if (settings.top)
        lines.add(tag::Top, *settings.top);
    if (settings.left)
        lines.add(tag::Left, *settings.left);
    lines.add(tag::Color, checkValue(settings.chkColor));
    lines.add(tag::Daisyo, checkValue(settings.chkGrep));
    if (settings.optHyouji >= 0 && settings.optHyouji <= 2)
        lines.add(tag::Hyouji, settings.optHyouji);
    lines.add(tag::Front, settings.mnuFront ? 1 : 0);
    lines.addEntries(tag::Print, settings.cboDir);
    lines.addEntries(tag::Grep, settings.cboGrep);
    if (settings.optPri >= 0 && settings.optPri <= 3)
        lines.add(tag::Sheet, settings.optPri);
    lines.add(tag::Patrn, settings.cboKind);
    lines.add(tag::ToolBr, settings.gToolBar);
    lines.add(tag::Hikaku, settings.gHikaku);
    lines.add(tag::DiffCl, settings.gDiffColor);
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

} // namespace brelix::shell
