#pragma once
// How the information window reaches the author and the maker: the author's contact details,
// the lines of the prepared mail, and the two addresses handed to the desktop (a "mailto:"
// address with subject and body, and the maker's download page).

#include <QString>
#include <QStringList>

// The author's e-mail address, the mail's recipient.
QString AuthorMailAddress();

// The twelve lines of the prepared mail body in the language of the code ("NLD": Dutch).
QStringList MailBodyLines(const QString &language, const QString &progNam);

// The lines of the author view, with the author's name, address, telephone and web site.
QStringList AuthorLines(const QString &language, const QString &progNam);

// "mailto:" address with subject "Programma <progNam>, <version>" and the body lines joined by
// an encoded CR LF. Nothing else is encoded: the desktop's mail handler takes the text as is.
QString MailAddressText(const QStringList &bodyLines, const QString &progNam,
                        const QString &version);

// The maker's download page with the program's own section as the fragment.
QString DownloadPageAddress(const QString &makerHost, const QString &progNam);
// The same on the maker's site as configured (PELGRANDIX_MAKER_HOST, host[:port]).
QString DownloadPageAddress(const QString &progNam);
