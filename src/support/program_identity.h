#pragma once
// The program's name, release and notice as its windows show them. The main window sets them
// as it is made; the other windows get them from it when they are made.

#include <QString>

struct ProgramIdentity {
    QString name;       // "Pelgrandix"
    QString version;    // "versie 1.20a"
    QString copyright;

    // The main window's caption: "Pelgrandix, versie 1.20a".
    QString caption() const { return name + QStringLiteral(", ") + version; }
};
