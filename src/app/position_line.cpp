#include "app/position_line.h"

#include "support/text_routines.h"

QStringList SplitPositionLine(const QString &line)
{
    QStringList fields;
    QStringView rest(line);
    while (!rest.isEmpty()) {
        const qsizetype semicolon = rest.indexOf(QLatin1Char(';'));
        if (semicolon == 0) {
            fields << QStringLiteral(" ");
        } else {
            const QStringView text = semicolon < 0 ? rest : rest.left(semicolon);
            fields << UnBeginSpace(text.toString());
        }
        rest = semicolon < 0 ? QStringView() : rest.mid(semicolon + 1);
    }
    if (fields.size() == 1)
        fields << QString();
    return fields;
}

QString JoinPositionFields(const QStringList &fields)
{
    QStringList ten = fields.mid(0, field::Count);
    while (ten.size() < field::Count)
        ten << QString();
    // A line that began with ";" would be read back from the file as a comment and dropped, so
    // an empty first field is written as a blank.
    if (ten.first().isEmpty())
        ten.first() = QStringLiteral(" ");
    return ten.join(QStringLiteral("; "));
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
