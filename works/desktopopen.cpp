// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopopen.h"

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QSet>
#include <QStandardPaths>
#include <QTextStream>

namespace versilo {

namespace {

// Calls take(group, key, value) for every "key=value" line of a .ini-like
// file, with the [group] it stands under.
template <class Take> void ReadKeyFile(const QString &path, Take take)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QTextStream in(&file);
    QString group;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            group = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (line.isEmpty() || line.startsWith(u'#') || eq <= 0)
            continue;
        take(group, line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
}

QStringList Entries(const QString &value) { return value.split(u';', Qt::SkipEmptyParts); }

}  // namespace

QStringList FileMimeTypes(const QString &path)
{
    QMimeDatabase db;
    QStringList types;
    for (const QMimeType &type : {db.mimeTypeForFile(path, QMimeDatabase::MatchExtension),
                                  db.mimeTypeForFile(path, QMimeDatabase::MatchContent)}) {
        if (!type.isValid() || type.isDefault())
            continue;
        for (const QString &name : QStringList{type.name()} + type.aliases()) {
            if (!types.contains(name))
                types << name;
        }
    }
    return types;
}

QStringList MimeHandlers(const QStringList &mimeTypes, const QStringList &applicationDirs,
                         const QStringList &mimeappsLists)
{
    const QSet<QString> wanted(mimeTypes.begin(), mimeTypes.end());
    QStringList handlers;
    QSet<QString> removed;
    auto add = [&](const QString &entry) {
        if (!handlers.contains(entry))
            handlers << entry;
    };

    for (const QString &list : mimeappsLists) {
        ReadKeyFile(list, [&](const QString &group, const QString &key, const QString &value) {
            if (!wanted.contains(key))
                return;
            for (const QString &entry : Entries(value)) {
                if (group == QLatin1String("Removed Associations"))
                    removed.insert(entry);
                else if (group == QLatin1String("Added Associations")
                         || group == QLatin1String("Default Applications"))
                    add(entry);
            }
        });
    }

    for (const QString &dir : applicationDirs) {
        const QString cache = dir + QStringLiteral("/mimeinfo.cache");
        if (QFile::exists(cache)) {
            ReadKeyFile(cache, [&](const QString &, const QString &key, const QString &value) {
                if (wanted.contains(key)) {
                    for (const QString &entry : Entries(value))
                        add(entry);
                }
            });
            continue;
        }
        const QStringList desktops = QDir(dir).entryList({QStringLiteral("*.desktop")}, QDir::Files);
        for (const QString &name : desktops) {
            ReadKeyFile(dir + u'/' + name, [&](const QString &group, const QString &key, const QString &value) {
                if (group != QLatin1String("Desktop Entry") || key != QLatin1String("MimeType"))
                    return;
                for (const QString &type : Entries(value)) {
                    if (wanted.contains(type))
                        add(name);
                }
            });
        }
    }

    QStringList kept;
    for (const QString &entry : std::as_const(handlers)) {
        if (!removed.contains(entry))
            kept << entry;
    }
    return kept;
}

QStringList DesktopHandlers(const QString &path)
{
    const QStringList applicationDirs = QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
    QStringList lists;
    for (const QString &dir : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation))
        lists << dir + QStringLiteral("/mimeapps.list");
    for (const QString &dir : applicationDirs)
        lists << dir + QStringLiteral("/mimeapps.list");
    return MimeHandlers(FileMimeTypes(path), applicationDirs, lists);
}

}  // namespace versilo
