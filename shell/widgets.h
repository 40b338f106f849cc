// SPDX-License-Identifier: GPL-3.0-or-later
// Behaviour every window shares: the borderless window dragged by its
// background, picture buttons with their pressed look, background pictures
// that let the mouse through, and the hover highlight of label lists.
#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QList>
#include <QKeySequence>
#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <utility>

namespace versilo {

inline const QString kCaption = QStringLiteral("Versilo14.0");

// Font families standing in for the classic Windows faces (in points of
// the design; smaller with the layout on a small screen).
QFont SongFont(double points);   // 宋体: "AR PL UMing CN", "Noto Serif CJK SC"
QFont KaiFont(double points);    // 楷体_GB2312: "AR PL UKai CN"

// A fixed-size borderless window with the caption "Versilo14.0", dragged by
// its background; while it moves, the launcher (and the windows named in
// followers) move to its top-left. Keys work its buttons as a click would:
// Esc the way back (the picture button or button captioned "放弃返回" or
// "返回", or the one set here), PageDown "下一页", PageUp "上一页".
class VersiloWindow : public QWidget {
    Q_OBJECT
public:
    VersiloWindow(const QString &name, double widthTwips, double heightTwips, QWidget *parent = nullptr);

    // Windows that move along while this one is dragged, besides the launcher.
    void SetFollowers(const QStringList &windowNames);
    const QStringList &Followers() const { return followers_; }
    bool IsDragging() const { return dragging_; }

    // The control Esc clicks, for a window whose way back has another caption.
    void SetBackButton(QWidget *button) { back_ = button; }
    QWidget *BackButton() const;
    // The first picture button, then the first button, with one of these captions.
    QWidget *ButtonCaptioned(const QStringList &captions) const;
    // A key that runs an action wherever the focus is in the window (a key
    // the focused control does not use itself).
    void BindKey(const QKeySequence &keys, std::function<void()> action);

    // Asked before the window goes by its own exit, the desktop's close or
    // the end of the program: false keeps it (the writer chose to keep
    // unsaved text). Windows without anything to lose say true.
    virtual bool MayClose() { return true; }

protected:
    // The load step of a data window: connect the DataStore, new recordset,
    // move to the launcher's top-left. False when the store cannot be opened
    // (the message has then been shown).
    bool ConnectAndPlace();
    // Only moves to the launcher's top-left (within the screen, screenfit.h).
    void PlaceAtLauncher();

    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    // Closed by the desktop (a window-manager close): the window is
    // destroyed through the registry, as its own close button would, once
    // MayClose agrees.
    void closeEvent(QCloseEvent *e) override;

    // Moves this window and everything that follows it to the given top-left.
    void MoveWithFollowers(const QPoint &topLeft);

private:
    bool dragging_ = false;
    QPoint press_;
    QStringList followers_;
    QPointer<QWidget> back_;
    QList<std::pair<QKeySequence, std::function<void()>>> keys_;
};

// A background picture covering the client area: paints, never takes the mouse.
class BackgroundPicture : public QLabel {
    Q_OBJECT
public:
    BackgroundPicture(const QString &name, const QPixmap &art, QWidget *parent);
};

// A picture button: art with a text (horizontal, or vertical for the
// launcher), clicked when the button is released over it (a double-click
// is one click). With the pressed look it shows a thin single border while
// a mouse button is held. Its text is its accessible name, and a screen
// reader sees a button it can press.
// A picture button given a focus policy takes the keyboard focus: it then
// shows a vermilion frame while focused, and Return, Enter or Space click it.
class PictureButton : public QLabel {
    Q_OBJECT
public:
    enum class Orientation { Horizontal, Vertical };
    PictureButton(const QString &name, const QString &text, Orientation o, QWidget *parent,
                  bool pressedLook = true);
    bool IsPressedLook() const { return pressed_; }   // border shown now

    Orientation TextOrientation() const { return orientation_; }
    // A click without the mouse (Esc on the way back, say): released, then clicked.
    void Click();
    // Replaces the slip drawn from the text by a picture of one's own (scaled
    // to the button); a null pixmap brings the slip back.
    void SetArt(const QPixmap &art);

signals:
    void clicked();      // released over the button
    void released();     // released anywhere, after a press on the button

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    void SetPressed(bool pressed);

    Orientation orientation_;
    bool pressedLook_;
    bool pressed_ = false;
    bool afterDoubleClick_ = false;
    QPixmap art_;
};

// A label that reports clicks and double-clicks (list entries, tune names).
// A list entry given a focus policy takes the keyboard focus: it then shows
// a thin frame while focused, and Return, Enter or Space click it.
// A one-line text too long for the label ends in "…" on screen, and its
// tooltip shows it whole; text() and the accessible name keep it whole.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    ClickLabel(const QString &name, QWidget *parent);
    // The text as the label shows it: whole, or cut with "…".
    QString ShownText() const;
signals:
    void clicked();
    void doubleClicked();
protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    bool event(QEvent *e) override;
private:
    QRect TextRect() const;
    bool PlainLine() const;   // one line of plain text, no picture
    bool Elides() const;
    bool afterDoubleClick_ = false;
};

// Hover highlight of a label list: the label under the pointer turns red
// (&H000000C0) unless empty; all others take the button-text colour.
// Nothing resets it when the pointer leaves the list.
// The colour is the label's palette colour QPalette::WindowText (so do not
// colour these labels by style sheet).
void InstallHoverHighlight(const QList<QLabel *> &labels);

inline const QColor kHighlightRed = QColor(192, 0, 0);
// The colour a label of such a list shows now.
QColor LabelColour(const QLabel *label);

}  // namespace versilo
