#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace vantor::registry {

// The Windows machine whose registry Vantor reads: a Wine prefix, one or more .reg exports, or
// none (the overlay alone).
struct Machine {
    enum class Kind { None, Prefix, RegFiles };
    Kind kind = Kind::None;
    QString prefix;       // Kind::Prefix: the prefix folder
    QStringList regFiles; // Kind::RegFiles: read in this order

    // The canonical path that names the machine (the .reg files one per line); empty for none.
    QString canonicalPath() const;
    // A short stable hash of canonicalPath(), or "none": the name of the machine's overlay.
    QString id() const;
};

struct MachineChoice {
    Machine machine;
    // The arguments after the machine options, joined by single blanks.
    QString commandLine;
};

// Chooses the machine: "--prefix DIR" / "--registry FILE" (also "--option=value"; --registry
// may repeat) taken off the front of `args` (the process arguments without the program), else
// `iniRegistry` (a prefix folder or a .reg file), else $WINEPREFIX, else ~/.wine when it holds
// system.reg, else none.
MachineChoice chooseMachine(const QStringList& args, const QString& iniRegistry,
                            const QProcessEnvironment& env);

} // namespace vantor::registry
