#include "market_pages.h"

#include <QCryptographicHash>
#include <QLocale>

#include <cmath>

namespace {

constexpr qint64 kInstallerBytes = 32 * 1024;

const char kPageHead[] = R"(<!DOCTYPE html>
<html lang="nl">
<head>
<meta charset="windows-1252">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>%1</title>
<style>
body { font-family: Verdana, Arial, sans-serif; font-size: 12px; margin: 0; color: #222; }
#kop-balk { background-color: #0b3a66; color: #fff; padding: 6px 10px; }
#kop-balk a { color: #cfe3ff; }
h1 { font-size: 16px; margin: 0 0 4px 0; }
table.opties { border-collapse: collapse; margin: 8px 10px; }
table.opties th { background-color: #dde4ec; text-align: right; padding: 3px 8px; }
table.opties td { text-align: right; padding: 2px 8px; white-space: nowrap; }
tr.row-odd { background-color: #f4f6f8; }
tr.row-even { background-color: #ffffff; }
tr.groep-kop td { background-color: #e9eef3; font-weight: bold; text-align: left; }
td.fBold { font-weight: bold; }
p.voet { color: #777; margin: 8px 10px; }
</style>
</head>
)";

QLocale dutchLocale()
{
    QLocale locale(QLocale::Dutch, QLocale::Netherlands);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

QByteArray ascii(const QString &text)
{
    return text.toLatin1();
}

double rounded(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

} // namespace

QString dutchNumber(double value, int decimals)
{
    const double r = rounded(value, decimals);
    const QString digits = dutchLocale().toString(std::abs(r), 'f', decimals);
    return r < 0 ? QLatin1Char('-') + digits : digits;
}

QByteArray optionPage(OptionKind kind, const QList<OptionQuote> &chain, double index,
                      const QDateTime &now)
{
    const bool calls = kind == OptionKind::Call;
    const QDateTime local = now.toLocalTime();
    QByteArray page;
    page.reserve(200 + chain.size() * 260);
    page += ascii(QString::fromLatin1(kPageHead)
                      .arg(calls ? QStringLiteral("AEX-index opties - Calls")
                                 : QStringLiteral("AEX-index opties - Puts")));

    page += "<body>\n<div id=\"kop-balk\"><h1>AEX-index opties</h1>\n<p>";
    page += calls ? "Calls | <a href=\"/derivaten/opties/?put=AEX.AEX/O\">Puts</a>"
                  : "<a href=\"/derivaten/opties/?call=AEX.AEX/O\">Calls</a> | Puts";
    page += "</p>\n<p>AEX " + ascii(dutchNumber(index)) + " &middot; bijgewerkt "
            + ascii(local.toString(QStringLiteral("dd-MM-yyyy HH:mm:ss"))) + "</p></div>\n";

    page += "<table class=\"opties\">\n<thead><tr class=\"kop-rij\"><th>Serie</th>"
            "<th>Expiratie</th><th>Uitoef. prijs</th><th>Laatst</th><th>Bied</th>"
            "<th>Laat</th><th>Volume</th></tr></thead>\n<tbody>\n";

    const QLocale dutch = dutchLocale();
    QDate group;
    int row = 0;
    for (const OptionQuote &q : chain) {
        if (q.expiry != group) {
            group = q.expiry;
            page += "<tr class=\"groep-kop\"><td colspan=\"7\">Expiratie "
                    + ascii(dutch.toString(q.expiry, QStringLiteral("d MMMM yyyy")))
                    + "</td></tr>\n";
        }
        page += (row++ % 2 == 0) ? "<tr class=\"row-odd\">" : "<tr class=\"row-even\">";
        page += "<td class=\"serie\">" + ascii(q.series) + "</td>";
        page += "<td class=\"expiratie\">" + ascii(q.expiry.toString(QStringLiteral("dd-MM-yy")))
                + "</td>";
        page += "<td class=\"fBold price\">" + ascii(dutchNumber(q.strike)) + "</td>";
        page += "<td class=\"fBold price\">";
        if (q.traded)
            page += ascii(dutchNumber(q.value));
        page += "</td>";
        page += "<td class=\"bied\">" + ascii(dutchNumber(q.bid)) + "</td>";
        page += "<td class=\"laat\">" + ascii(dutchNumber(q.ask)) + "</td>";
        page += "<td class=\"volume\">"
                + (q.volume > 0 ? QByteArray::number(q.volume) : QByteArray("-")) + "</td>";
        page += "</tr>\n";
    }

    page += "</tbody>\n</table>\n<p class=\"voet\">Koersen met vertraging; "
            "demonstratiegegevens zonder enige waarde.</p>\n</body>\n</html>\n";
    return page;
}

QByteArray indexPage(const IndexLevel &quote)
{
    const QDateTime local = quote.time.toLocalTime();
    const double level = rounded(quote.level, 2);
    const double previous = rounded(quote.previousClose, 2);
    const double change = level - previous;
    const double percent = previous > 0 ? change / previous * 100.0 : 0.0;
    const QString cls = change < 0 ? QStringLiteral("min") : QStringLiteral("plus");

    QByteArray page;
    page += ascii(QString::fromLatin1(kPageHead).arg(QStringLiteral("Beurs mobiel - Indices")));
    page += "<body>\n";
    // The top line goes out without any blank between its elements: readers of this page take
    // the text between the markup as it stands.
    page += "<div id=\"kop-balk\"><span class=\"label\">Koers;</span><span class=\"datum\">"
            + ascii(local.toString(QStringLiteral("dd-MM-yy"))) + "</span><span class=\"tijd\">"
            + ascii(local.toString(QStringLiteral("HH:mm:ss")))
            + "</span></div><div class=\"menu\"><a href=\"/index.php?type=main\">HOME</a>"
              "<a href=\"/index.php?type=fondsen\">Fondsen</a></div>"
              "<table class=\"opties\"><tr class=\"row-odd\"><td class=\"naam\">AEX</td>"
              "<td class=\"stand\">"
            + ascii(dutchNumber(level)) + "</td><td class=\"verschil " + ascii(cls) + "\">("
            + ascii(dutchNumber(change)) + ")</td><td class=\"procent " + ascii(cls) + "\">"
            + ascii(dutchNumber(percent)) + "%</td></tr>\n";

    // The other indices follow the AEX with their own sensitivity to its move.
    struct Other { const char *name; double base; double beta; };
    const Other others[] = {
        {"AMX", 812.40, 1.2}, {"AScX", 1093.15, 0.9}, {"BEL 20", 4210.55, 0.8},
        {"CAC 40", 7436.20, 1.0}, {"DAX", 19215.70, 1.05},
    };
    const double relative = previous > 0 ? level / previous - 1.0 : 0.0;
    int row = 1;
    for (const Other &o : others) {
        const double otherPrevious = o.base;
        const double otherLevel = rounded(o.base * (1.0 + o.beta * relative), 2);
        const double otherChange = otherLevel - otherPrevious;
        page += (row++ % 2 == 0) ? "<tr class=\"row-odd\">" : "<tr class=\"row-even\">";
        page += QByteArray("<td class=\"naam\">") + o.name + "</td><td class=\"stand\">"
                + ascii(dutchNumber(otherLevel)) + "</td><td class=\"verschil\">("
                + ascii(dutchNumber(otherChange)) + ")</td><td class=\"procent\">"
                + ascii(dutchNumber(otherChange / otherPrevious * 100.0)) + "%</td></tr>\n";
    }
    page += "</table>\n<p class=\"voet\">Koersen met vertraging. Ververs de pagina voor de "
            "laatste stand.</p>\n</body>\n</html>\n";
    return page;
}

QString installerFileName()
{
    return QStringLiteral("Pelgrandix121.exe");
}

QByteArray installerScript()
{
    QByteArray script = R"sh(#!/bin/sh
# Demo installer of Pelgrandix 1.21b.
#
# A real installer would put the new release in place of the program's files. This one only
# notes when it was started and with which arguments, so that the program's update path can be
# followed from beginning to end without changing anything else on the machine.

log_dir="${HOME:?HOME is not set}/.local/share/Pelgrandix"
mkdir -p "$log_dir" || exit 1
printf '%s %s\n' "$(date '+%Y-%m-%d %H:%M:%S')" "$*" >> "$log_dir/installer.log" || exit 1
exit 0

# The lines below are never read. They give the file the size of a small installer, so that a
# download of it takes several blocks and its progress can be followed.
)sh";
    const QByteArray filler =
        "# ------------------------------------------------------------------------------\n";
    while (script.size() + filler.size() <= kInstallerBytes)
        script += filler;
    const qint64 rest = kInstallerBytes - script.size();
    if (rest >= 2)
        script += "#" + QByteArray(rest - 2, '-') + "\n";
    else if (rest == 1)
        script += "\n";
    return script;
}

QByteArray versionList(const QByteArray &installer)
{
    const qint64 kib = (installer.size() + 1023) / 1024;
    const QByteArray sha256 =
        QCryptographicHash::hash(installer, QCryptographicHash::Sha256).toHex();
    QByteArray list;
    list += "Koersalarm,Koersalarm210.exe,a,1874,x,Waarschuwt bij ingestelde koersgrenzen,"
            "Warns when a price limit is reached\r\n";
    list += "Pelgrandix,Pelgrandix121.exe,b," + QByteArray::number(kib) + ",sha256=" + sha256
            + ",Tips bij het schrijven van opties op de AEX-index,"
              "Advice on writing options on the AEX index\r\n";
    return list;
}

QByteArray downloadPage(qint64 installerBytes)
{
    const qint64 kib = (installerBytes + 1023) / 1024;
    return QByteArray(R"(<!DOCTYPE html>
<html lang="nl">
<head>
<meta charset="windows-1252">
<title>Downloads</title>
<style>
body { font-family: Verdana, Arial, sans-serif; font-size: 13px; margin: 20px; }
h2 { font-size: 15px; margin-top: 24px; }
</style>
</head>
<body>
<h1>Downloads</h1>
<p>Op deze pagina vindt u de nieuwste versies van onze programma's.</p>
<h2><a id="Pelgrandix" name="Pelgrandix"></a>Pelgrandix</h2>
<p>Versie 1.21b. Geeft aan- en verkooptips bij het beleggen met opties op de AEX-index.</p>
<p><a href="/)") + installerFileName().toLatin1() + R"(">)" + installerFileName().toLatin1()
           + " downloaden</a> (" + QByteArray::number(kib) + R"( kB)</p>
<p>Sluit Pelgrandix voordat u de installatie start.</p>
</body>
</html>
)";
}
