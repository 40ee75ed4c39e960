#include "app/position_line.h"

#include "support/text_routines.h"

#include <algorithm>

PositionFieldViews SplitPositionLineViews(QStringView line)
{
    PositionFieldViews fields;
    QStringView rest = line;
    while (!rest.isEmpty()) {
        const qsizetype semicolon = rest.indexOf(QLatin1Char(';'));
        if (semicolon == 0) {
            fields.append(QStringView(u" "));
        } else {
            fields.append(UnBeginSpace(semicolon < 0 ? rest : rest.left(semicolon)));
        }
        rest = semicolon < 0 ? QStringView() : rest.mid(semicolon + 1);
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
    const qsizetype count = std::min<qsizetype>(fields.size(), field::Count);
    qsizetype length = (field::Count - 1) * separator.size() + 1;
    for (qsizetype i = 0; i < count; ++i)
        length += fields[i].size();
    QString line;
    line.reserve(length);
    for (qsizetype i = 0; i < field::Count; ++i) {
        if (i > 0)
            line += separator;
        const QStringView text = i < count ? fields[i] : QStringView();
        // A line that began with ";" would be read back from the file as a comment and
        // dropped, so an empty first field is written as a blank.
        line += i == 0 && text.isEmpty() ? QStringView(u" ") : text;
    }
    return line;
}

QString JoinPositionFields(const QStringList &fields)
{
    PositionFieldViews views;
    for (const QString &text : fields)
        views.append(text);
    return JoinPositionFieldViews(views);
}

void CompleteNineFields(QStringList &fields)
{
    if (fields.size() == field::Count - 1)
        fields << QStringLiteral(" 0");
}

bool IsUsablePosition(const QStringList &fields)
{
    if (fields.size() < field::Count)
        return false;
    for (int index : {int(field::Year), int(field::Amount), int(field::Flag)}) {
        if (!ParseDecimalInt(fields.at(index), nullptr))
            return false;
    }
    return true;
}
