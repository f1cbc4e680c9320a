#pragma once

#include <QString>

namespace brelix::compare {

// The work budget of one comparison and where it ran out: a sheet pair costs rows x columns x 2
// + 50, a coloured difference 6, a recorded one 2, and past kLimit the comparison stops (unless
// it has no limit). The comparers say what they did; only the budget counts and notes.
class DiffBudget {
public:
    static constexpr qint64 kLimit = 16382;

    explicit DiffBudget(bool unlimited = false) : m_unlimited(unlimited) {}

    // Before the first sheet: the run's own cost.
    void start();
    // False, with the note of a sheet not begun, once the budget is spent; the pair is charged
    // either way, as the report's count shows.
    bool chargeSheetPair(qint64 rows, qint64 columns, int sheet, const QString& sheetName);
    // False, with that note, when the budget was spent before a sheet that costs nothing.
    bool admitSheet();
    void chargeColouring() { m_spent += 6; }
    // False, with the note of a sheet left halfway, once the budget is spent.
    bool chargeRecord();

    bool exceeded() const { return !m_unlimited && m_spent > kLimit; }
    qint64 spent() const { return m_spent; }
    // Where it ran out, and the last sheet compared before (empty when none was).
    const QString& cutShortNote() const { return m_cutShortNote; }
    const QString& lastSheetCompared() const { return m_lastSheetCompared; }

private:
    bool m_unlimited;
    qint64 m_spent = 0; // 64-bit: a huge sheet is "too large", never an overflow
    QString m_cutShortNote;
    QString m_lastSheetCompared;
};

} // namespace brelix::compare
