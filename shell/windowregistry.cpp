// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowregistry.h"

#include <QGuiApplication>

namespace versilo {

namespace {

// Take a window out of sight and destroy it once control is back in the
// event loop, so a handler of that window that is still running finishes
// on a live object.
void Discard(QWidget *w)
{
    if (!w)
        return;
    w->hide();
    w->deleteLater();
}

// Brings a window to the front; the offscreen platform of tests and tools
// has no stacking to speak of.
void Present(QWidget *w)
{
    w->show();
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        w->raise();
        w->activateWindow();
    }
}

}  // namespace

void WindowRegistry::Register(const QString &name, Factory make)
{
    factories_.insert(name, std::move(make));
}

bool WindowRegistry::IsRegistered(const QString &name) const
{
    return factories_.contains(name);
}

void WindowRegistry::Unregister(const QString &name) { factories_.remove(name); }

QWidget *WindowRegistry::Find(const QString &name) const
{
    const auto it = windows_.constFind(name);
    return it == windows_.constEnd() ? nullptr : it->data();
}

QList<QWidget *> WindowRegistry::All() const
{
    QList<QWidget *> out;
    for (const auto &w : windows_) {
        if (w)
            out.append(w.data());
    }
    return out;
}

QWidget *WindowRegistry::Create(const QString &name)
{
    const auto it = factories_.constFind(name);
    if (it == factories_.constEnd() || !*it)
        return nullptr;
    QWidget *w = (*it)();
    if (!w)
        return nullptr;
    if (w->objectName().isEmpty())
        w->setObjectName(name);
    // The registry decides when a window goes away, never a close event.
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    windows_.insert(name, w);
    return w;
}

QWidget *WindowRegistry::OpenFresh(const QString &name)
{
    if (!IsRegistered(name))
        return nullptr;
    Discard(windows_.take(name).data());
    QWidget *w = Create(name);
    if (w)
        Present(w);
    return w;
}

QWidget *WindowRegistry::Show(const QString &name)
{
    QWidget *w = Find(name);
    if (!w)
        w = Create(name);
    if (w)
        Present(w);
    return w;
}

QWidget *WindowRegistry::FindOrCreate(const QString &name)
{
    QWidget *w = Find(name);
    return w ? w : Create(name);
}

void WindowRegistry::Close(const QString &name)
{
    Discard(windows_.take(name).data());
}

void WindowRegistry::Hide(const QString &name)
{
    if (QWidget *w = Find(name))
        w->hide();
}

void WindowRegistry::CloseAll()
{
    const auto windows = windows_;
    windows_.clear();
    for (const auto &w : windows)
        Discard(w.data());
}

}  // namespace versilo
