#include "positions/position_line.h"

#include "support/text_routines.h"

#include <algorithm>

namespace {

PositionFieldViews viewsOf(const QStringList &fields)
{
    PositionFieldViews views;
    for (const QString &text : fields)
        views.append(text);
    return views;
}

} // namespace

PositionFieldViews SplitPositionLineViews(QStringView line)
{
    PositionFieldViews fields;
    // One pass over the line, rather than a search for each ";": a download reads every position.
    for (qsizetype start = 0; start < line.size();) {
        qsizetype end = start;
        while (end < line.size() && line[end] != u';')
            ++end;
        if (end == start)
            fields.append(QStringView(u" "));
        else
            fields.append(UnBeginSpace(line.sliced(start, end - start)));
        start = end + 1;
    }
    if (fields.size() == 1)
        fields.append(QStringView());
    return fields;
}

QStringList SplitPositionLine(const QString &line)
{
    const PositionFieldViews views = SplitPositionLineViews(line);
    QStringList fields;
    fields.reserve(views.size());
    for (const QStringView view : views)
        fields << view.toString();
    return fields;
}

QString JoinPositionFieldViews(const PositionFieldViews &fields)
{
    const QStringView separator(u"; ");
    // A line that began with ";" would be read back from the file as a comment and dropped, so
    // an empty first field is written as a blank.
    const auto fieldText = [&fields](qsizetype i) {
        const QStringView text = i < fields.size() ? fields[i] : QStringView();
        return i == 0 && text.isEmpty() ? QStringView(u" ") : text;
    };
    // Measured first and copied in without growing: a download rewrites every position.
    qsizetype length = (field::Count - 1) * separator.size();
    for (qsizetype i = 0; i < field::Count; ++i)
        length += fieldText(i).size();
    QString line(length, Qt::Uninitialized);
    QChar *out = line.data();
    for (qsizetype i = 0; i < field::Count; ++i) {
        if (i > 0)
            out = std::copy(separator.begin(), separator.end(), out);
        const QStringView text = fieldText(i);
        out = std::copy(text.begin(), text.end(), out);
    }
    return line;
}

QString JoinPositionFields(const QStringList &fields)
{
    return JoinPositionFieldViews(viewsOf(fields));
}

void CompleteNineFields(QStringList &fields)
{
    if (fields.size() == field::Count - 1)
        fields << QStringLiteral(" 0");
}

void CompleteNineFields(PositionFieldViews &fields)
{
    if (fields.size() == field::Count - 1)
        fields.append(QStringView(u" 0"));
}

bool IsUsablePosition(const QStringList &fields)
{
    return ReadPositionNumbers(fields).has_value();
}

std::optional<PositionNumbers> ReadPositionNumbers(const QStringList &fields)
{
    return ReadPositionNumbers(viewsOf(fields));
}

std::optional<PositionNumbers> ReadPositionNumbers(const PositionFieldViews &fields)
{
    PositionNumbers numbers;
    if (fields.size() < field::Count || !ParseDecimalInt(fields.at(field::Year), &numbers.year)
        || !ParseDecimalInt(fields.at(field::Amount), &numbers.amount)
        || !ParseDecimalInt(fields.at(field::Flag), &numbers.flag))
        return std::nullopt;
    return numbers;
}

bool BreaksPositionLine(const QString &fieldText)
{
    return fieldText.contains(QLatin1Char(';')) || fieldText.contains(QLatin1Char('\n'))
           || fieldText.contains(QLatin1Char('\r'));
}
