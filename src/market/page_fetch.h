#pragma once
// Fetching a web page into memory as the exact bytes of its body.

#include <QByteArray>
#include <QString>

// Fetches an option price page into page (empty when the address cannot be opened) and then
// keeps a copy of it in "Temp.txt" in the current folder (or the data folder, see
// scratch_files.h), followed by a line break. Returns whether the page arrived to its end; a
// page whose connection broke off, whose server fell silent or that ran past the fetch's
// deadline or byte limit holds only what came before. certificateRefused, when given, tells
// whether the site's certificate was refused.
bool DownloadRightPage(const QString &url, QByteArray &page, bool *certificateRefused = nullptr);

// The receive time-out that the index page's fetch sets for the process.
inline constexpr int kIndexReceiveTimeoutMs = 2000;

// Fetches the mobile index page with up to three attempts while the page stays empty, all
// within one fetch deadline, through the proxy the environment names. It first sets the receive
// time-out of the process to kIndexReceiveTimeoutMs, which every later fetch keeps. A page that
// broke off counts as no page: its values could be cut off in the middle. certificateRefused,
// when given, tells whether the site's certificate was refused.
QByteArray FetchIndexPage(const QString &url, bool *certificateRefused = nullptr);
