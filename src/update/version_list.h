#pragma once
// The maker's version list: one line per program, found by the program's name, whose fields
// give the installer's file name, the release letter and the installer's size. These rules
// decide whether the running release is outdated; they touch neither network nor window.

#include <QChar>
#include <QString>
#include <QStringList>

// What the update check concluded; the codes are also the index into its message table.
enum UpdateResult : int {
    NoUpdateNeeded = 0,
    NoInternetConnection = 1,  // kept for the message table; the check itself never gives it
    ListNotReceived = 2,
    ProgramNotListed = 3,
    UpdateAdvised = 4,
    ProbeFailed = 5,
    // No signature by a trusted key, one older than a list seen before, or no installer checksum:
    // nothing of the list is used.
    ListNotVerified = 6,
    // The maker's site is asked over https and its certificate does not hold.
    SiteNotTrusted = 7,
};

// A program line is read up to this many characters and this many fields; what lies beyond
// them is passed over, so that a list of megabytes cannot make a line or fields to match.
inline constexpr qsizetype kLongestProgramLine = 4096;
inline constexpr qsizetype kMostVersionFields = 16;

// A release: its version digits ("120") and its letter ('a'; code 0 when it has none).
struct VersionId {
    QString digits;
    QChar letter;
};

// The release of a version text such as "versie 1.20a": all its digits, and its last character
// when that is a small letter a to z.
VersionId RunningVersion(const QString &versionText);

// The release named by a download name such as "Pelgrandix121.exe": the digits before its
// first "." and the given letter.
VersionId ListedVersion(const QString &downloadName, QChar letter);

// True when latest is newer than running: its digit text is greater in an ordinal comparison,
// or the digit texts are equal and its letter has the greater code. A release without digits
// is never newer.
bool IsNewerVersion(const VersionId &latest, const VersionId &running);

// The version as shown to the user: 121 and b give "1.21b".
QString NewVersion(const VersionId &version);

// Splits a program line on commas. A field that would be empty (two commas in a row, or a
// leading comma) is one character with code 0; nothing after a final comma counts as a field,
// nor anything after the kMostVersionFields-th.
QStringList SplitVersionFields(const QString &line);

// The program line: from the first occurrence of the program name (case-sensitive) up to the
// next carriage return, or to the end of the text when none follows, at most kLongestProgramLine
// characters. Empty when the name is absent.
QString ProgramLine(const QString &text, const QString &programName);

// The installer's checksum as the program line's spare field may give it: "sha256=" followed by
// 64 hexadecimal digits. Returns the digits in small letters; empty for any other text.
QByteArray ListedSha256(const QString &field);

// Whether the text can be a version list at all: not empty, not the site's default page, and at
// least 50 characters.
bool VersionListArrived(const QString &text);

// Evaluates a received version list for the program named by programStr and the running
// version text. On results 0 and 4, programStr receives the download name, newVersion the
// listed version, remark the description in the given language (empty unless the line has
// descriptions), installerSizeKB the installer's size and installerSha256 its checksum (empty
// when the list gives none); result 3 clears downloadedB. A program line with fewer than five
// fields or a size that is no whole number throws ConversionError before any output changes.
int EvaluateVersionList(const QString &text, QString &programStr, QString &newVersion,
                        QString &remark, const QString &runningVersion, const QString &language,
                        int &installerSizeKB, QByteArray &installerSha256, bool &downloadedB);

// The lines that tell the user a result code (two lines for code 0); Dutch when language is
// "NLD", else English. Empty for an unknown code.
QStringList UpdateResultText(int code, const QString &language);
