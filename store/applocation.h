// SPDX-License-Identifier: GPL-3.0-or-later
// The folder the program writes into: mvtrakp.m, aa.doc and every other file
// it makes.
//
// A program run from its build folder or from a portable copy keeps its files
// beside the executable. An installed program (its folder is not writable, or
// it sits in an installed layout with its desktop entry under
// ../share/applications) keeps them in $XDG_DATA_HOME/versilo, that is
// ~/.local/share/versilo unless XDG_DATA_HOME names another absolute folder.
// A portable copy whose folder holds the writer's mvtrakp.m keeps using it
// even when the folder has become read-only: the writer's works stay where
// they are (read-only, saving says why), never replaced by a new, empty file
// somewhere else.
#pragma once

#include <QString>

namespace versilo {

// The desktop entry of an installed program, relative to the program's folder.
inline constexpr const char *kInstalledMarker = "../share/applications/org.versilo.Versilo.desktop";

// What the choice rests on.
struct WriteDirFacts {
    QString programDir;        // the folder of the executable
    bool programDirWritable = false;
    bool installed = false;    // kInstalledMarker exists
    QString xdgDataHome;       // $XDG_DATA_HOME as set (may be empty or relative)
    QString home;              // $HOME
    bool databaseInProgramDir = false;   // mvtrakp.m sits beside the program
};

// The choice alone, without looking at the disk.
QString ChooseWriteDir(const WriteDirFacts &facts);

// The choice for the program in programDir, from the disk and the
// environment. A data folder it chooses is created (mode 0700) when missing;
// nothing in it is moved or overwritten.
QString WriteDirFor(const QString &programDir);

// The folder the running program writes into.
QString AppWriteDir();

}  // namespace versilo
