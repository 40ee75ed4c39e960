// The maker's version list on arbitrary bytes, decoded as the update check decodes them. A list
// that cannot be read may end the check with a conversion error; anything else must give one of
// the result codes, and a result that names no release must leave the outputs alone.

#include "fuzz_support.h"

#include "market/page_text.h"
#include "support/conversion_error.h"
#include "update/version_list.h"

#include <QRegularExpression>

#include <cstdint>

namespace {

const QString kProgram = QStringLiteral("Pelgrandix");
const QString kRunning = QStringLiteral("versie 1.20a");

void evaluate(const QString &text, const QString &language)
{
    QString programStr = kProgram;
    QString newVersion = QStringLiteral("unchanged");
    QString remark = QStringLiteral("unchanged");
    int sizeKB = -7;
    QByteArray sha256 = "unchanged";
    bool downloadedB = true;
    int result = -1;
    try {
        result = EvaluateVersionList(text, programStr, newVersion, remark, kRunning, language,
                                     sizeKB, sha256, downloadedB);
    } catch (const ConversionError &) {
        // A failure comes before any output changes.
        FUZZ_CHECK(programStr == kProgram && sizeKB == -7 && sha256 == "unchanged" && downloadedB,
                   programStr);
        FUZZ_CHECK(text.contains(kProgram), text.left(80));
        return;
    }

    switch (result) {
    case ListNotReceived:
        FUZZ_CHECK(text.size() < 50 || text == QLatin1String("Default.htm"), text.left(80));
        break;
    case ProgramNotListed:
        FUZZ_CHECK(!text.contains(kProgram) && !downloadedB, text.left(80));
        break;
    case NoUpdateNeeded:
    case UpdateAdvised: {
        FUZZ_CHECK(text.size() >= 50 && downloadedB, text.left(80));
        const QStringList fields = SplitVersionFields(ProgramLine(text, kProgram));
        FUZZ_CHECK(fields.size() >= 5 && programStr == fields.at(1), programStr);
        // A checksum is taken only from a spare field (4) that is "sha256=" and 64 hexadecimal
        // digits, in small letters whatever the list wrote.
        FUZZ_CHECK(sha256.isEmpty()
                       || (sha256.size() == 64 && sha256 == sha256.toLower()
                           && fields.at(4).compare(QLatin1String("sha256=" + sha256), Qt::CaseInsensitive) == 0),
                   fields.at(4));
        // The release shown: a digit, a point, up to two digits and possibly a letter, or
        // nothing at all for a download name without version digits.
        static const QRegularExpression shown(QStringLiteral("\\A(\\d\\.\\d{0,2}.?)?\\z"),
                                              QRegularExpression::DotMatchesEverythingOption);
        FUZZ_CHECK(shown.match(newVersion).hasMatch(), newVersion);
        const bool newer = IsNewerVersion(ListedVersion(fields.at(1), fields.at(2).at(0)),
                                          RunningVersion(kRunning));
        FUZZ_CHECK(newer == (result == UpdateAdvised), newVersion);
        FUZZ_CHECK(!UpdateResultText(result, language).isEmpty(), QString::number(result));
        break;
    }
    default:
        FUZZ_CHECK(false, QString::number(result));
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    UseDutchLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = PageText(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    evaluate(text, QStringLiteral("NLD"));
    evaluate(text, QStringLiteral("ENU"));
    return 0;
}
