#include "core/compare/DiffRules.h"

#include "core/run/ResultsWorkbook.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace brelix::compare {

std::optional<DiffRefusal> checkDiffInputs(const QString& templatePath, const QString& firstPath,
                                           const QString& secondPath)
{
    using Problem = run::ResultsWorkbook::TemplateProblem;
    if (const auto problem = run::ResultsWorkbook::templateProblem(templatePath))
        return *problem == Problem::Missing ? DiffRefusal::MissingTemplate
                                            : DiffRefusal::DamagedTemplate;
    const QString first = bareFileName(firstPath);
    const QString second = bareFileName(secondPath);
    // Compared before the existence check, so two empty boxes count as the same name.
    if (first.toUpper() == second.toUpper())
        return DiffRefusal::SameFileName;
    if (first.isEmpty() || second.isEmpty())
        return DiffRefusal::FilesNotSelected;
    return std::nullopt;
}

run::RunMessage refusalMessage(DiffRefusal refusal)
{
    run::RunMessage message;
    switch (refusal) {
    case DiffRefusal::MissingTemplate:
    case DiffRefusal::DamagedTemplate:
        message.text = run::ResultsWorkbook::templateProblemText(
            refusal == DiffRefusal::MissingTemplate
                ? run::ResultsWorkbook::TemplateProblem::Missing
                : run::ResultsWorkbook::TemplateProblem::Damaged);
        message.title = QCoreApplication::translate("DiffRules", "実行不可能");
        message.icon = run::MessageIcon::Critical;
        break;
    case DiffRefusal::SameFileName:
        message.text = QCoreApplication::translate("DiffRules", "同一ファイル名は比較できません") +
                       u"\r\n\r\n"_s +
                       QCoreApplication::translate(
                           "DiffRules", "どちらかのファイル名を変更してから、比較を実行して下さい");
        message.title = QCoreApplication::translate("DiffRules", "実行中止");
        message.icon = run::MessageIcon::Exclamation;
        break;
    case DiffRefusal::FilesNotSelected:
        message.text = QCoreApplication::translate("DiffRules", "対象ファイルを選択して下さい");
        message.title = QCoreApplication::translate("DiffRules", "指定エラー");
        message.icon = run::MessageIcon::Exclamation;
        break;
    }
    return message;
}

QString bareFileName(const QString& path)
{
    const QFileInfo info(path.trimmed());
    return info.isFile() ? info.fileName() : QString();
}

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The length of the run of ASCII digits starting at `from`.
qsizetype digitsAt(const QString& text, qsizetype from)
{
    qsizetype end = from;
    while (end < text.size() && isDigit(text.at(end)))
        ++end;
    return end - from;
}

} // namespace

qint16 sheetNumber(const QString& text)
{
    qsizetype begin = 0;
    while (begin < text.size() &&
           (text.at(begin) == u' ' || text.at(begin) == u'\t' || text.at(begin) == u'\n'))
        ++begin;

    qsizetype end = begin;
    if (end < text.size() && (text.at(end) == u'+' || text.at(end) == u'-'))
        ++end;
    const qsizetype integerDigits = digitsAt(text, end);
    end += integerDigits;
    qsizetype fractionDigits = 0;
    if (end < text.size() && text.at(end) == u'.') {
        fractionDigits = digitsAt(text, end + 1);
        end += 1 + fractionDigits;
    }
    if (integerDigits + fractionDigits == 0)
        return 0;
    // An exponent counts only when digits follow it: "1e" reads as 1.
    if (end < text.size() && (text.at(end) == u'e' || text.at(end) == u'E')) {
        qsizetype exponentEnd = end + 1;
        if (exponentEnd < text.size() &&
            (text.at(exponentEnd) == u'+' || text.at(exponentEnd) == u'-'))
            ++exponentEnd;
        const qsizetype exponentDigits = digitsAt(text, exponentEnd);
        if (exponentDigits > 0)
            end = exponentEnd + exponentDigits;
    }

    // QString::toDouble is locale-free; it gives an infinity on overflow and 0 on underflow.
    const double value = text.mid(begin, end - begin).toDouble();
    if (std::isnan(value))
        return 0;
    // Clamped once to tame infinities and again after rounding, which can step past the range.
    const double rounded = std::nearbyint(std::clamp(value, -40000.0, 40000.0));
    return static_cast<qint16>(std::clamp(rounded, -32768.0, 32767.0));
}

std::optional<SheetRange> sheetRange(const QString& startText, const QString& lastText)
{
    SheetRange range;
    range.start = sheetNumber(startText);
    range.last = sheetNumber(lastText);
    range.whole = range.start < 1 && range.last < 1;
    if (range.start < 1)
        range.start = 1;
    if (range.last < 1)
        range.last = 999;
    if (range.start > range.last)
        return std::nullopt;
    return range;
}

QString baseName(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot < 0 ? fileName : fileName.left(dot);
}

QString changeHistorySheetName(const QString& firstFileName, const QString& secondFileName)
{
    return resultSheetName(u"変更履歴　"_s, baseName(firstFileName), baseName(secondFileName));
}

QString resultSheetName(const QString& prefix, QString first, QString second)
{
    // A sheet name holds at most 31 characters: shortening both keeps the second one visible.
    if (first.size() + second.size() > 25) {
        for (QString* base : {&first, &second}) {
            if (base->size() > 12)
                *base = base->left(9) + u"..."_s;
        }
    }
    return (prefix + first + u'-' + second).left(31);
}

} // namespace brelix::compare
