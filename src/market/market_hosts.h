#pragma once
// The three outside sites the program talks to. Each is "host[:port]", asked over HTTP, or an
// address that starts with "http://" or "https://" (a path after the host is kept: the site's
// files lie below it). The settings dialog keeps them (group " Websites "); a site named in the
// environment goes before the setting, so that the program can be pointed at another site for
// one run, and without either each one is the demo quote site on loopback.

#include <QString>

#include <optional>

// The sites as the settings keep them; an empty one is the default.
struct SiteSettings {
    QString optionSite;
    QString indexSite;
    QString makerSite;

    bool operator==(const SiteSettings &) const = default;
};
extern SiteSettings Sites;

// The demo quote site, where every site is unless set otherwise.
inline constexpr char kDefaultSite[] = "127.0.0.1:8470";

// Host of the option price pages (PELGRANDIX_QUOTE_HOST, else the setting "Optiesite").
QString QuoteHost();
// Host of the mobile index page (PELGRANDIX_INDEX_HOST, else "Indexsite").
QString IndexHost();
// The maker's site: probe target, version list, installers, download page
// (PELGRANDIX_MAKER_HOST, else "Makersite").
QString MakerHost();

// The site as it is written in the settings: the text without blanks around it, or nothing when
// it names no site that can be asked over http or https (another scheme, blanks or nothing in
// its host, a question or a fragment).
std::optional<QString> SiteFromText(const QString &text);
// The address below which the site's files lie, without "/" at the end:
// "127.0.0.1:8470" gives "http://127.0.0.1:8470".
QString SiteAddress(const QString &site);
// What the connectivity probe asks: host and port ("127.0.0.1:8470", "example.com:443" for
// https without a port, "[::1]:8470").
QString SiteProbeHost(const QString &site);
