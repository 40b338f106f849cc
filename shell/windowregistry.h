// SPDX-License-Identifier: GPL-3.0-or-later
// The eleven windows by name (windownames.h): each exists at most once.
#pragma once

#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

#include "windownames.h"

namespace versilo {

class WindowRegistry {
public:
    using Factory = std::function<QWidget *()>;

    // Each window library registers how its window is made (see app/launcher/windows.cpp).
    void Register(const QString &name, Factory make);
    bool IsRegistered(const QString &name) const;
    // Forgets how the window is made (tests); an open one stays open.
    void Unregister(const QString &name);

    // The window if it exists (shown or hidden), else nullptr.
    QWidget *Find(const QString &name) const;
    template <class T> T *Get(const QString &name) const { return qobject_cast<T *>(Find(name)); }
    // Every window that exists now, shown or hidden.
    QList<QWidget *> All() const;

    // Discard the window if it exists, create it afresh and show it, not modal.
    QWidget *OpenFresh(const QString &name);
    // Create the window if it does not exist, then show it.
    QWidget *Show(const QString &name);
    // The window if it exists (shown or hidden); else it is created and
    // stays hidden until something shows it.
    QWidget *FindOrCreate(const QString &name);
    template <class T> T *FindOrCreate(const QString &name) { return qobject_cast<T *>(FindOrCreate(name)); }
    // Destroy the window with its state (at once; safe from its own handlers).
    void Close(const QString &name);
    // Keep the window, hidden.
    void Hide(const QString &name);
    void CloseAll();

    // The launcher, the window all others open over and follow.
    QWidget *Launcher() const { return Find(window::kLauncher); }

private:
    QWidget *Create(const QString &name);   // made by the factory, not yet shown

    QHash<QString, Factory> factories_;
    QHash<QString, QPointer<QWidget>> windows_;
};

}  // namespace versilo
