#include "core/settings/SettingsFile.h"

#include "core/files/ProgramFolder.h"
#include "core/files/TextDecoding.h"
#include "core/host/CellAddress.h"
#include "core/run/OfficeCount.h"
#include "core/settings/History.h"
#include "core/settings/SettingsNumber.h"
#include "core/settings/SettingsTags.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <array>
#include <limits>
#include <optional>

namespace brelix::settings {

using files::decodeUtf8OrShiftJis;
using files::programFile;
using files::programFolder;

namespace {

// The settings file beside the program.
constexpr QStringView FileName = u"Brelix.ini";

// What a record did to the reading.
enum class Record { Read, Stop };

std::optional<int> wholeIn(QStringView value, qint64 low, qint64 high)
{
    const double n = settingsNumber(value);
    if (n < static_cast<double>(low) || n > static_cast<double>(high))
        return std::nullopt;
    return static_cast<int>(n);
}

std::optional<int> int16(QStringView value)
{
    return wholeIn(value, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max());
}

std::optional<int> int32(QStringView value)
{
    return wholeIn(value, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());
}

// Sets `holder` when the value lies in [low, high]; any other value is ignored.
Record setIfIn(int& holder, QStringView value, int low, int high)
{
    if (const auto n = wholeIn(value, low, high))
        holder = *n;
    return Record::Read;
}

Record setCheckIfIn(Qt::CheckState& holder, QStringView value)
{
    if (const auto n = wholeIn(value, 0, 1))
        holder = *n == 1 ? Qt::Checked : Qt::Unchecked;
    return Record::Read;
}

// Sets `holder` from a value of 0 or 1; any other value is ignored.
Record setFlagIfIn(bool& holder, QStringView value)
{
    if (const auto n = wholeIn(value, 0, 1))
        holder = *n == 1;
    return Record::Read;
}

// Sets `holder` from column letters such as "A,C"; a list the comparison refuses is ignored.
Record setColumnsIfValid(QList<int>& holder, QStringView value, int most)
{
    if (const auto columns = host::columnList(value.toString(), most))
        holder = *columns;
    return Record::Read;
}

// Sets `holder` from the value, or stops the reading when the value does not fit.
template <typename Holder> Record setOrStop(Holder& holder, std::optional<int> n)
{
    if (!n)
        return Record::Stop;
    holder = *n;
    return Record::Read;
}

// A history holds the current entry and its earlier ones; the rest of a longer, hand-made
// list is passed over, so that it is not written back.
bool historyFull(const QStringList& history)
{
    return history.size() > History::Depth;
}

// Only folders that are still there come back; a plain file cannot be listed.
Record addFolder(QStringList& history, QStringView value)
{
    if (historyFull(history))
        return Record::Read;
    const QString folder = value.toString();
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        history.append(folder);
    return Record::Read;
}

Record addText(QStringList& history, QStringView value)
{
    if (!historyFull(history))
        history.append(value.toString());
    return Record::Read;
}

using Apply = Record (*)(Settings&, QStringView);

struct Key {
    QStringView tag;
    Apply apply;
};

// Keys matched in this order; the first whose tag is the record's applies.
const std::array<Key, 26> keys = {{
    {tag::StartMode, [](Settings& s, QStringView v) { return setOrStop(s.startMode, int16(v)); }},
    {tag::Top, [](Settings& s, QStringView v) { return setOrStop(s.top, int32(v)); }},
    {tag::Left, [](Settings& s, QStringView v) { return setOrStop(s.left, int32(v)); }},
    {tag::Width,
     [](Settings& s, QStringView v) {
         // A width the window cannot take is passed over; the window widens only.
         if (const auto n = wholeIn(v, 1, std::numeric_limits<qint32>::max()))
             s.width = *n;
         return Record::Read;
     }},
    {tag::ColourDifferences,
     [](Settings& s, QStringView v) { return setCheckIfIn(s.colourDifferences, v); }},
    {tag::CaseSensitive,
     [](Settings& s, QStringView v) { return setCheckIfIn(s.caseSensitive, v); }},
    {tag::WindowLayout,
     [](Settings& s, QStringView v) { return setIfIn(s.windowLayout, v, 0, 2); }},
    {tag::AlwaysOnTop,
     [](Settings& s, QStringView v) {
         s.alwaysOnTop = settingsNumber(v) == 1;
         return Record::Read;
     }},
    {tag::FolderHistory, [](Settings& s, QStringView v) { return addFolder(s.folderHistory, v); }},
    {tag::SearchHistory, [](Settings& s, QStringView v) { return addText(s.searchHistory, v); }},
    {tag::PrintScope,
     [](Settings& s, QStringView v) { return setOrStop(s.printScope, wholeIn(v, 0, 3)); }},
    {tag::FileType,
     [](Settings& s, QStringView v) { return setOrStop(s.fileTypeFilter, wholeIn(v, -1, 1)); }},
    {tag::ToolbarRows, [](Settings& s, QStringView v) { return setIfIn(s.toolbarRows, v, 0, 5); }},
    {tag::CompareTarget,
     [](Settings& s, QStringView v) {
         if (const auto n = wholeIn(v, 0, 1))
             s.compareTarget = static_cast<CompareTarget>(*n);
         return Record::Read;
     }},
    {tag::DiffColour,
     [](Settings& s, QStringView v) { return setOrStop(s.diffColourIndex, int16(v)); }},
    {tag::AlignRows,
     [](Settings& s, QStringView v) {
         s.alignRows = settingsNumber(v) == 1;
         return Record::Read;
     }},
    {tag::ReadyOffice,
     [](Settings& s, QStringView v) {
         if (const auto n = wholeIn(v, 0, 1))
             s.readyOffice = *n == 1;
         return Record::Read;
     }},
    {tag::NoSizeLimit,
     [](Settings& s, QStringView v) {
         s.noSizeLimit = settingsNumber(v) == 1;
         return Record::Read;
     }},
    {tag::OfficeCount,
     [](Settings& s, QStringView v) { return setIfIn(s.officeCount, v, 0, run::kMostOffices); }},
    {tag::KeyColumns,
     [](Settings& s, QStringView v) {
         return setColumnsIfValid(s.keyColumns, v, kMostKeyColumns);
     }},
    {tag::BySheetName, [](Settings& s, QStringView v) { return setFlagIfIn(s.bySheetName, v); }},
    {tag::IgnoreCase,
     [](Settings& s, QStringView v) { return setFlagIfIn(s.equality.ignoreCase, v); }},
    {tag::IgnoreWidth,
     [](Settings& s, QStringView v) { return setFlagIfIn(s.equality.ignoreWidth, v); }},
    {tag::IgnoreBlanks,
     [](Settings& s, QStringView v) { return setFlagIfIn(s.equality.ignoreBlanks, v); }},
    {tag::Tolerance,
     [](Settings& s, QStringView v) {
         if (const auto tolerance = settings::toleranceOf(v.toString()))
             s.equality.tolerance = tolerance;
         return Record::Read;
     }},
    {tag::IgnoredColumns,
     [](Settings& s, QStringView v) {
         return setColumnsIfValid(s.equality.ignoredColumns, v, host::kLastColumn);
     }},
}};

Record applyRecord(Settings& settings, QStringView line)
{
    // Blanks before the tag are skipped: no tag starts with one.
    while (line.startsWith(u' '))
        line = line.sliced(1);
    if (line.size() < tag::Length)
        return Record::Read;
    const QStringView recordTag = line.first(tag::Length);
    for (const Key& key : keys) {
        if (recordTag == key.tag)
            return key.apply(settings, line.sliced(tag::Length));
    }
    return Record::Read; // an unknown tag
}

// Applies the lines in order; false when a record stopped the reading.
bool applyRecords(Settings& settings, QStringView text)
{
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        if (applyRecord(settings, text.sliced(start, end - start)) == Record::Stop)
            return false;
        if (end < text.size() && text[end] == u'\r' && end + 1 < text.size() &&
            text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return true;
}

std::optional<QString> readText(const QString& filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return decodeUtf8OrShiftJis(bytes);
}

// The file's text, built a line at a time.
class FileLines {
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

// The comparison's pairing and rules, each only when set: the files of users who never set
// them stay as older versions wrote them.
void addComparisonChoices(FileLines& lines, const Settings& settings)
{
    if (!settings.keyColumns.isEmpty())
        lines.add(tag::KeyColumns, host::columnListText(settings.keyColumns));
    if (settings.bySheetName)
        lines.add(tag::BySheetName, 1);
    const EqualityRules& rules = settings.equality;
    if (rules.ignoreCase)
        lines.add(tag::IgnoreCase, 1);
    if (rules.ignoreWidth)
        lines.add(tag::IgnoreWidth, 1);
    if (rules.ignoreBlanks)
        lines.add(tag::IgnoreBlanks, 1);
    if (rules.tolerance)
        lines.add(tag::Tolerance, settings::toleranceText(*rules.tolerance));
    if (!rules.ignoredColumns.isEmpty())
        lines.add(tag::IgnoredColumns, host::columnListText(rules.ignoredColumns));
}

} // namespace

SettingsFile::Loaded SettingsFile::load(const QString& filePath, const QString& programFolder)
{
    Loaded loaded;
    Settings& settings = loaded.settings;
    const std::optional<QString> text = readText(filePath);
    loaded.recovered = !text || !applyRecords(settings, *text);
    if (loaded.recovered || settings.folderHistory.isEmpty())
        settings.folderHistory.append(programFolder);
    return loaded;
}

SettingsFile::Loaded SettingsFile::load()
{
    return load(programFile(FileName.toString()), programFolder());
}

QString SettingsFile::text(const Settings& settings)
{
    FileLines lines;
    if (settings.startMode >= 0 && settings.startMode <= 2)
        lines.add(tag::StartMode, settings.startMode);
    if (settings.top)
        lines.add(tag::Top, *settings.top);
    if (settings.left)
        lines.add(tag::Left, *settings.left);
    if (settings.width)
        lines.add(tag::Width, *settings.width);
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
    lines.add(tag::CompareTarget, static_cast<int>(settings.compareTarget));
    lines.add(tag::DiffColour, settings.diffColourIndex);
    // Each written only away from its start value: files of users who never change them stay
    // as older versions wrote them.
    if (settings.alignRows)
        lines.add(tag::AlignRows, 1);
    if (!settings.readyOffice)
        lines.add(tag::ReadyOffice, 0);
    if (settings.noSizeLimit)
        lines.add(tag::NoSizeLimit, 1);
    if (settings.officeCount != 0)
        lines.add(tag::OfficeCount, settings.officeCount);
    addComparisonChoices(lines, settings);
    return lines.text();
}

bool SettingsFile::save(const QString& filePath, const Settings& settings)
{
    const QByteArray bytes = text(settings).toUtf8();
    QSaveFile file(filePath);
    // Never write into the old file in place: that is what could truncate it.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size())
        file.cancelWriting(); // commit then only removes the new file
    return file.commit();
}

bool SettingsFile::save(const Settings& settings)
{
    return save(programFile(FileName.toString()), settings);
}

} // namespace brelix::settings
