#include "update/version_list.h"

#include "support/conversion_error.h"
#include "support/text_routines.h"

#include <QRegularExpression>

namespace {

// A list shorter than this cannot hold a program line; it is a failed or cut-off download.
constexpr qsizetype kMinimumListLength = 50;
// What the maker's site answered instead of the list when the file was missing.
const QString kDefaultPage = QStringLiteral("Default.htm");

enum Field { DownloadNameField = 1, LetterField = 2, SizeField = 3, SpareField = 4,
             DutchRemarkField = 5, EnglishRemarkField = 6 };

ConversionError listIndexError(qsizetype index)
{
    return ConversionError(QStringLiteral("Lijstindex buiten bereik (%1)").arg(index));
}

} // namespace

VersionId RunningVersion(const QString &versionText)
{
    VersionId version;
    version.digits = UnAlpha(versionText);
    if (!versionText.isEmpty()) {
        const QChar last = versionText.back();
        if (last >= QLatin1Char('a') && last <= QLatin1Char('z'))
            version.letter = last;
    }
    return version;
}

VersionId ListedVersion(const QString &downloadName, QChar letter)
{
    return VersionId{UnAlpha(LeftOf(QLatin1Char('.'), downloadName)), letter};
}

bool IsNewerVersion(const VersionId &latest, const VersionId &running)
{
    // A download name without a "." or without digits names no release that can be compared.
    if (latest.digits.isEmpty())
        return false;
    if (latest.digits != running.digits)
        return latest.digits > running.digits;
    return latest.letter.unicode() > running.letter.unicode();
}

QString NewVersion(const VersionId &version)
{
    if (version.digits.isEmpty())
        return QString();
    QString text = version.digits.left(1) + QLatin1Char('.') + version.digits.mid(1, 2);
    // A release without a letter is shown without one, as the running version is.
    if (!version.letter.isNull())
        text += version.letter;
    return text;
}

QStringList SplitVersionFields(const QString &line)
{
    QStringList fields;
    qsizetype pos = 0;
    while (pos < line.size() && fields.size() < kMostVersionFields) {
        const qsizetype comma = line.indexOf(QLatin1Char(','), pos);
        if (comma == pos) {
            fields.append(QString(QChar(0)));
            pos = comma + 1;
        } else if (comma < 0) {
            fields.append(line.mid(pos));
            pos = line.size();
        } else {
            fields.append(line.mid(pos, comma - pos));
            pos = comma + 1;
        }
    }
    return fields;
}

QString ProgramLine(const QString &text, const QString &programName)
{
    const qsizetype start = text.indexOf(programName);
    if (start < 0)
        return QString();
    const QStringView rest = QStringView(text).mid(start, kLongestProgramLine);
    const qsizetype end = rest.indexOf(QLatin1Char('\r'));
    return (end < 0 ? rest : rest.first(end)).toString();
}

QByteArray ListedSha256(const QString &field)
{
    static const QRegularExpression form(QStringLiteral("\\Asha256=[0-9A-Fa-f]{64}\\z"));
    if (!form.match(field).hasMatch())
        return QByteArray();
    return field.mid(7).toLatin1().toLower();
}

bool VersionListArrived(const QString &text)
{
    return text != kDefaultPage && text.size() >= kMinimumListLength;
}

int EvaluateVersionList(const QString &text, QString &programStr, QString &newVersion,
                        QString &remark, const QString &runningVersion, const QString &language,
                        int &installerSizeKB, QByteArray &installerSha256, bool &downloadedB)
{
    if (!VersionListArrived(text))
        return ListNotReceived;
    if (!text.contains(programStr)) {
        downloadedB = false;
        return ProgramNotListed;
    }
    const QStringList fields = SplitVersionFields(ProgramLine(text, programStr));
    // The fields are used in order; the first one missing or unreadable ends the check.
    if (fields.size() <= SizeField)
        throw listIndexError(fields.size());
    const int sizeKB = StrToIntOrThrow(fields.at(SizeField));
    if (fields.size() <= SpareField)
        throw listIndexError(SpareField);

    const QString downloadName = fields.at(DownloadNameField);
    const VersionId latest = ListedVersion(downloadName, fields.at(LetterField).at(0));
    programStr = downloadName;
    installerSizeKB = sizeKB;
    installerSha256 = ListedSha256(fields.at(SpareField));
    remark.clear();
    if (fields.size() > EnglishRemarkField)
        remark = fields.at(language == QLatin1String("NLD") ? DutchRemarkField : EnglishRemarkField);
    newVersion = NewVersion(latest);
    return IsNewerVersion(latest, RunningVersion(runningVersion)) ? UpdateAdvised : NoUpdateNeeded;
}

QStringList UpdateResultText(int code, const QString &language)
{
    const bool dutch = language == QLatin1String("NLD");
    switch (code) {
    case NoUpdateNeeded:
        return dutch ? QStringList{QStringLiteral("Een Update is niet nodig,"),
                                   QStringLiteral("u heeft de nieuwste versie.")}
                     : QStringList{QStringLiteral("No Update is needed,"),
                                   QStringLiteral("you are using the latest version.")};
    case NoInternetConnection:
        return {dutch ? QStringLiteral("Er is geen Internetverbinding")
                      : QStringLiteral("No Internet connection")};
    case ListNotReceived:
        return {dutch ? QStringLiteral("Het bestand is te klein")
                      : QStringLiteral("File not downloaded correctly")};
    case ProgramNotListed:
        return {dutch ? QStringLiteral("Programma-naam niet gevonden")
                      : QStringLiteral("Program Name not found")};
    case UpdateAdvised:
        return {dutch ? QStringLiteral("Een Update wordt aanbevolen")
                      : QStringLiteral("Update is advised")};
    case ProbeFailed:
        return {dutch ? QStringLiteral("Er is iets niet goed gegaan")
                      : QStringLiteral("Something went wrong")};
    case ListNotVerified:
        return {dutch ? QStringLiteral("De versielijst kon niet worden gecontroleerd.")
                      : QStringLiteral("The version list could not be verified.")};
    case SiteNotTrusted:
        return {dutch ? QStringLiteral("Het certificaat van de makersite wordt niet vertrouwd.")
                      : QStringLiteral("The certificate of the maker's site is not trusted.")};
    default:
        return {};
    }
}
