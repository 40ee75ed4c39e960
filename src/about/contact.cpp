#include "about/contact.h"

#include "market/market_hosts.h"

namespace {

bool isDutch(const QString &language)
{
    return language == QLatin1String("NLD");
}

} // namespace

QString AuthorMailAddress()
{
    return QStringLiteral("morin@rondel.example");
}

QStringList MailBodyLines(const QString &language, const QString &progNam)
{
    if (isDutch(language))
        return {QStringLiteral("Hallo Morin"),
                QString(),
                QString(),
                QStringLiteral("Ik vond op je Home Page het programma ") + progNam + QStringLiteral("."),
                QString(),
                QStringLiteral("Ik wil hierover het volgende kwijt:"),
                QString(), QString(), QString(), QString(), QString(),
                QStringLiteral("Met vriendelijke groet,")};
    return {QStringLiteral("Hi Morin"),
            QString(),
            QString(),
            QStringLiteral("On you Home Page I found the program ") + progNam + QStringLiteral("."),
            QString(),
            QStringLiteral("I want to comment on this program:"),
            QString(), QString(), QString(), QString(), QString(),
            QStringLiteral("Kind regards,")};
}

QStringList AuthorLines(const QString &language, const QString &progNam)
{
    const bool dutch = isDutch(language);
    return {QString(),
            dutch ? QStringLiteral("Het programma ") + progNam + QStringLiteral(" is geschreven door:")
                  : QStringLiteral("The program ") + progNam + QStringLiteral(" has been written by:"),
            QString(),
            QStringLiteral("Morin van Rondel"),
            QStringLiteral("Keizersgracht 123"),
            dutch ? QStringLiteral("1015 CJ Amsterdam")
                  : QStringLiteral("1015 CJ Amsterdam, The Netherlands"),
            dutch ? QStringLiteral("020 - 123 45 67") : QStringLiteral("+31 20 123 45 67"),
            QString(),
            AuthorMailAddress(),
            QStringLiteral("http://www.rondel.example"),
            QString(),
            dutch ? QStringLiteral("Mail, bel of schrijf voor nadere informatie!")
                  : QStringLiteral("Mail or write for further information!")};
}

QString MailAddressText(const QStringList &bodyLines, const QString &progNam,
                        const QString &version)
{
    const QString subject = QStringLiteral("Programma ") + progNam + QStringLiteral(", ") + version;
    const QString body = bodyLines.join(QStringLiteral("%0D%0A"));
    return QStringLiteral("mailto:") + AuthorMailAddress() + QStringLiteral("?Subject=") + subject
           + QStringLiteral("&Body=") + body;
}

QString DownloadPageAddress(const QString &makerHost, const QString &progNam)
{
    return SiteAddress(makerHost) + QStringLiteral("/downloads_n.html#") + progNam;
}

QString DownloadPageAddress(const QString &progNam)
{
    return DownloadPageAddress(MakerHost(), progNam);
}
