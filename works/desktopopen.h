// SPDX-License-Identifier: GPL-3.0-or-later
// Whether the desktop has a program for a file. Asking the desktop to open
// a file succeeds as soon as the opener starts, even where no program takes
// the file's type; this looks at the freedesktop.org registrations instead.
// No widgets.
#pragma once

#include <QString>
#include <QStringList>

namespace versilo {

// The MIME types a file is taken for: by its name and by its content.
QStringList FileMimeTypes(const QString &path);

// The desktop entries (e.g. "libreoffice-writer.desktop") registered for any
// of the types in the given applications folders (mimeinfo.cache, or the
// entries' MimeType= lines where a folder has no cache) and mimeapps.list
// files (added and default associations count, removed ones do not).
QStringList MimeHandlers(const QStringList &mimeTypes, const QStringList &applicationDirs,
                         const QStringList &mimeappsLists);

// MimeHandlers for the file's types on this machine's XDG folders.
QStringList DesktopHandlers(const QString &path);

}  // namespace versilo
