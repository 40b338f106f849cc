// SPDX-License-Identifier: GPL-3.0-or-later
#include "applocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace versilo {

QString ChooseWriteDir(const WriteDirFacts &facts)
{
    if (!facts.installed && (facts.programDirWritable || facts.databaseInProgramDir))
        return facts.programDir;
    // A relative or empty XDG_DATA_HOME is to be ignored.
    const QString dataHome = !facts.xdgDataHome.isEmpty() && QDir::isAbsolutePath(facts.xdgDataHome)
                                 ? facts.xdgDataHome
                                 : QDir(facts.home).filePath(QStringLiteral(".local/share"));
    return QDir::cleanPath(QDir(dataHome).filePath(QStringLiteral("versilo")));
}

QString WriteDirFor(const QString &programDir)
{
    const QFileInfo dir(programDir);
    WriteDirFacts facts;
    facts.programDir = dir.absoluteFilePath();
    facts.programDirWritable = dir.isDir() && dir.isWritable();
    facts.installed = QFileInfo::exists(QDir(programDir).filePath(QLatin1String(kInstalledMarker)));
    const QFileInfo database(QDir(programDir).filePath(QStringLiteral("mvtrakp.m")));
    facts.databaseInProgramDir = database.exists() || database.isSymLink();
    facts.xdgDataHome = qEnvironmentVariable("XDG_DATA_HOME");
    facts.home = qEnvironmentVariable("HOME", QDir::homePath());
    const QString chosen = ChooseWriteDir(facts);
    if (chosen != facts.programDir && !QFileInfo(chosen).isDir()) {
        // The parents as the system makes them, the program's own folder
        // private to the user.
        QDir().mkpath(QFileInfo(chosen).absolutePath());
        QDir().mkdir(chosen, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return chosen;
}

QString AppWriteDir()
{
    if (QCoreApplication::instance())
        return WriteDirFor(QCoreApplication::applicationDirPath());
    const QString exe = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    return WriteDirFor(exe.isEmpty() ? QDir::currentPath() : QFileInfo(exe).absolutePath());
}

}  // namespace versilo
