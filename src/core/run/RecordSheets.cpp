#include "core/run/RecordSheets.h"

#include <algorithm>

namespace brelix::run {

namespace {

constexpr qsizetype kSheetNameLength = 31;

} // namespace

RecordSheets::Place RecordSheets::placeOf(int sequence, int sheetRows)
{
    const int perSheet = std::max(1, sheetRows - 1); // below the heading
    return {(sequence - 1) / perSheet + 1, (sequence - 1) % perSheet + 2};
}

RecordSheets::Place RecordSheets::placeOfRowsTogether(int sequence, int rows, int sheetRows)
{
    const Place place = placeOf(sequence, sheetRows);
    if (place.row > 2 && place.row + rows - 1 > sheetRows)
        return {place.sheet + 1, 2};
    return place;
}

QString RecordSheets::sheetName(const QString& name, int sheet)
{
    if (sheet <= 1)
        return name;
    const QString suffix = QStringLiteral("(%1)").arg(sheet);
    return name.left(kSheetNameLength - suffix.size()) + suffix;
}

void RecordSheets::write(int firstSequence, const QList<QVariantList>& rows)
{
    qsizetype done = 0;
    while (done < rows.size()) {
        const Place place = placeOf(firstSequence + static_cast<int>(done), m_sheetRows);
        reach(place);
        const qsizetype room = m_sheetRows - place.row + 1;
        const QList<QVariantList> part = rows.mid(done, room);
        m_host.writeRows(m_book, m_sheetsBefore + place.sheet, place.row, 1, part);
        done += part.size();
    }
}

void RecordSheets::reach(const Place& place)
{
    // A record at the top of a sheet past the first is the first one there.
    if (place.sheet > 1 && place.row == 2)
        m_host.addSheetWithHeading(m_book, m_sheetsBefore + place.sheet - 1,
                                   sheetName(m_baseName, place.sheet));
}

} // namespace brelix::run
