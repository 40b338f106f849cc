// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QToolTip>

#include "appcontext.h"
#include "art.h"
#include "dialogs.h"
#include "safety.h"
#include "screenfit.h"
#include "twips.h"
#include "windowregistry.h"

namespace versilo {

namespace {

// After the face a text is set in, the faces that carry the rare characters
// of the rhyme dictionaries (extensions A to F), so none shows as a box.
QStringList WithRareCharacters(const QString &face)
{
    return {face, QStringLiteral("Noto Serif CJK SC"), QStringLiteral("HanaMinA"), QStringLiteral("HanaMinB")};
}

}  // namespace

QFont SongFont(double points)
{
    QFont f;
    f.setFamilies(WithRareCharacters(QStringLiteral("AR PL UMing CN")));
    f.setPointSizeF(points * LayoutScale());
    return f;
}

QFont KaiFont(double points)
{
    QFont f;
    f.setFamilies(WithRareCharacters(QStringLiteral("AR PL UKai CN")));
    f.setPointSizeF(points * LayoutScale());
    return f;
}

// ---------------------------------------------------------------- VersiloWindow

VersiloWindow::VersiloWindow(const QString &name, double widthTwips, double heightTwips,
                             QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(name);
    setWindowTitle(kCaption);
    setFixedSize(TwSize(widthTwips, heightTwips));
    InstallDoubleClickGuard();
    setAttribute(Qt::WA_DeleteOnClose, false);
    // Paper shows where no picture covers the window.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ink::kPaper);
    setPalette(pal);
    setAutoFillBackground(true);
}

void VersiloWindow::SetFollowers(const QStringList &windowNames) { followers_ = windowNames; }

bool VersiloWindow::ConnectAndPlace()
{
    AppContext &app = AppContext::Instance();
    DataStore &store = app.Store();
    const bool ok = store.Connect();
    store.NewRecordset();
    PlaceAtLauncher();
    if (!ok) {
        app.Dialog().Tell(store.LastError());   // names the file once, says why
        return ok;
    }
    // A file that can only be read is said once a run, before the writer
    // types anything that could not be saved.
    static QString toldReadOnly;
    const QString readOnly = store.ReadOnlyReason();
    if (!readOnly.isEmpty() && readOnly != toldReadOnly) {
        toldReadOnly = readOnly;
        app.Dialog().Tell(readOnly);
    }
    return ok;
}

void VersiloWindow::PlaceAtLauncher()
{
    QWidget *launcher = AppContext::Instance().Windows().Launcher();
    if (launcher && launcher != this)
        move(KeptOnScreen(launcher->pos(), size()));
}

void VersiloWindow::MoveWithFollowers(const QPoint &topLeft)
{
    move(topLeft);
    WindowRegistry &windows = AppContext::Instance().Windows();
    QWidget *launcher = windows.Launcher();
    if (launcher && launcher != this)
        launcher->move(pos());
    for (const QString &name : std::as_const(followers_)) {
        QWidget *w = windows.Find(name);
        if (w && w != this)
            w->move(pos());
    }
}

void VersiloWindow::mousePressEvent(QMouseEvent *e)
{
    // Only the background drags: a control under the pointer that let the
    // press through (a plain label) does not. Pictures marked transparent
    // for the mouse are not found by childAt, so they count as background.
    if (childAt(e->position().toPoint()) != nullptr) {
        e->ignore();
        return;
    }
    dragging_ = true;
    press_ = e->position().toPoint();
    e->accept();
}

void VersiloWindow::mouseMoveEvent(QMouseEvent *e)
{
    if (!dragging_) {
        e->ignore();
        return;
    }
    // new left = x - press x + left, so the pressed point stays under the
    // pointer. x is taken from the pointer's screen position and the
    // window's own idea of where it is (geometry() changes with every
    // move() at once, while the platform may confirm moves later), so the
    // window does not jitter while it moves under the pointer.
    const QPoint x = e->globalPosition().toPoint() - geometry().topLeft();
    MoveWithFollowers(pos() + (x - press_));
    e->accept();
}

void VersiloWindow::mouseReleaseEvent(QMouseEvent *e)
{
    dragging_ = false;
    e->accept();
}

QWidget *VersiloWindow::ButtonCaptioned(const QStringList &captions) const
{
    for (PictureButton *b : findChildren<PictureButton *>()) {
        if (captions.contains(b->text()))
            return b;
    }
    for (QAbstractButton *b : findChildren<QAbstractButton *>()) {
        if (captions.contains(b->text()))
            return b;
    }
    return nullptr;
}

QWidget *VersiloWindow::BackButton() const
{
    return back_ ? back_.data() : ButtonCaptioned({QStringLiteral("放弃返回"), QStringLiteral("返回")});
}

void VersiloWindow::BindKey(const QKeySequence &keys, std::function<void()> action)
{
    keys_.append({keys, std::move(action)});
}

void VersiloWindow::keyPressEvent(QKeyEvent *e)
{
    const QKeySequence pressed(e->keyCombination());
    for (const auto &[keys, action] : std::as_const(keys_)) {
        if (keys == pressed) {
            e->accept();
            action();
            return;
        }
    }
    QWidget *button = nullptr;
    if ((e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (e->key() == Qt::Key_Escape)
            button = BackButton();
        else if (e->key() == Qt::Key_PageDown)
            button = ButtonCaptioned({QStringLiteral("下一页")});
        else if (e->key() == Qt::Key_PageUp)
            button = ButtonCaptioned({QStringLiteral("上一页")});
    }
    if (button && button->isVisibleTo(this) && button->isEnabled()) {
        e->accept();
        if (auto *picture = qobject_cast<PictureButton *>(button))
            picture->Click();
        else if (auto *push = qobject_cast<QAbstractButton *>(button))
            push->click();
        return;
    }
    QWidget::keyPressEvent(e);
}

void VersiloWindow::closeEvent(QCloseEvent *e)
{
    if (!MayClose()) {
        e->ignore();
        return;
    }
    e->accept();
    WindowRegistry &windows = AppContext::Instance().Windows();
    if (windows.Find(objectName()) == this)
        windows.Close(objectName());
}

// ------------------------------------------------------------ BackgroundPicture

BackgroundPicture::BackgroundPicture(const QString &name, const QPixmap &art, QWidget *parent)
    : QLabel(parent)
{
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setScaledContents(true);
    setPixmap(art);
    if (!art.isNull())
        resize(art.deviceIndependentSize().toSize());
    else if (parent)
        resize(parent->size());
    lower();
}

// ----------------------------------------------------------------- PictureButton

namespace {

// What a screen reader is told of a picture button: a button named by its
// text, which it can press.
class PictureButtonAccessible : public QAccessibleWidget {
public:
    explicit PictureButtonAccessible(PictureButton *button)
        : QAccessibleWidget(button, QAccessible::Button)
    {
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<PictureButton *>(widget())->text();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &action) override
    {
        if (action == pressAction() && widget()->isEnabled())
            static_cast<PictureButton *>(widget())->Click();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface *PictureButtonFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String(PictureButton::staticMetaObject.className()))
        if (auto *button = qobject_cast<PictureButton *>(object))
            return new PictureButtonAccessible(button);
    return nullptr;
}

}  // namespace

PictureButton::PictureButton(const QString &name, const QString &text, Orientation o,
                             QWidget *parent, bool pressedLook)
    : QLabel(parent), orientation_(o), pressedLook_(pressedLook)
{
    // Before the first text is set: setting it may already ask for the
    // button's accessible interface, which is then kept.
    static const bool accessible = [] {
        QAccessible::installFactory(&PictureButtonFactory);
        return true;
    }();
    Q_UNUSED(accessible);
    setObjectName(name);
    setText(text);
    setFrameShadow(QFrame::Plain);
    setFrameShape(QFrame::NoFrame);
    setLineWidth(1);
    setCursor(Qt::PointingHandCursor);
    resize(o == Orientation::Vertical ? TwSize(375, 1305) : TwSize(1305, 405));
}

void PictureButton::SetArt(const QPixmap &art)
{
    art_ = art;
    update();
}

void PictureButton::SetPressed(bool pressed)
{
    pressed_ = pressedLook_ && pressed;
    setFrameShape(pressed_ ? QFrame::Box : QFrame::NoFrame);
    update();
}

void PictureButton::mousePressEvent(QMouseEvent *e)
{
    SetPressed(true);
    e->accept();
}

void PictureButton::mouseDoubleClickEvent(QMouseEvent *e)
{
    // The second press of a double-click: pressed look, but its release is
    // not a second click.
    SetPressed(true);
    afterDoubleClick_ = true;
    e->accept();
}

void PictureButton::mouseReleaseEvent(QMouseEvent *e)
{
    SetPressed(false);
    e->accept();
    const bool second = afterDoubleClick_;
    afterDoubleClick_ = false;
    // Take a guard: a handler may discard the window this button sits on.
    QPointer<PictureButton> self(this);
    const bool over = rect().contains(e->position().toPoint());
    emit released();
    if (self && over && !second && e->button() == Qt::LeftButton)
        emit clicked();
}

void PictureButton::keyPressEvent(QKeyEvent *e)
{
    const int key = e->key();
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    if (focusPolicy() == Qt::NoFocus || mods != Qt::NoModifier
        || (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space)) {
        QLabel::keyPressEvent(e);
        return;
    }
    e->accept();
    if (e->isAutoRepeat())
        return;
    // Space works as a mouse button: pressed look while held, click on
    // release. Return and Enter click at once.
    if (key == Qt::Key_Space) {
        SetPressed(true);
        return;
    }
    Click();
}

void PictureButton::keyReleaseEvent(QKeyEvent *e)
{
    if (e->key() != Qt::Key_Space || e->isAutoRepeat() || focusPolicy() == Qt::NoFocus) {
        QLabel::keyReleaseEvent(e);
        return;
    }
    e->accept();
    const bool held = pressed_ || !pressedLook_;
    SetPressed(false);
    if (held)
        Click();
}

void PictureButton::focusOutEvent(QFocusEvent *e)
{
    // A Space held while the focus leaves is no click.
    SetPressed(false);
    QLabel::focusOutEvent(e);
}

void PictureButton::Click()
{
    QPointer<PictureButton> self(this);
    emit released();
    if (self)
        emit clicked();
}

void PictureButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPixmap pm = !art_.isNull()
                           ? art_
                           : ButtonArt(size(), text(),
                                       orientation_ == Orientation::Vertical
                                           ? TextDirection::Vertical
                                           : TextDirection::Horizontal);
    p.drawPixmap(QRectF(rect()), pm, QRectF(QPointF(0, 0), QSizeF(pm.size())));
    if (frameShape() != QFrame::NoFrame)
        drawFrame(&p);
    if (hasFocus()) {
        // The keyboard's place: a vermilion frame inside the slip's edge,
        // clear of the pressed look's border.
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(ink::kVermilion, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(rect()).adjusted(2, 2, -2, -2));
    }
}

// -------------------------------------------------------------------- ClickLabel

ClickLabel::ClickLabel(const QString &name, QWidget *parent) : QLabel(parent)
{
    setObjectName(name);
}

void ClickLabel::mousePressEvent(QMouseEvent *e)
{
    // Keep the press: a press on a list entry never drags the window.
    e->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *e)
{
    e->accept();
    // The release that ends a double-click is not a second click.
    if (afterDoubleClick_) {
        afterDoubleClick_ = false;
        return;
    }
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit clicked();
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent *e)
{
    e->accept();
    afterDoubleClick_ = true;
    if (e->button() == Qt::LeftButton)
        emit doubleClicked();
}

void ClickLabel::keyPressEvent(QKeyEvent *e)
{
    const int key = e->key();
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    if (focusPolicy() != Qt::NoFocus && mods == Qt::NoModifier
        && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
        e->accept();
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(e);
}

QRect ClickLabel::TextRect() const
{
    // Where QLabel puts a plain text: inside the frame and the margin, the
    // indent taken on the side the text is aligned to.
    QRect r = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    int in = indent();
    if (in < 0 && frameWidth() > 0)
        in = fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
    if (in > 0) {
        const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
        if (align & Qt::AlignLeft)
            r.setLeft(r.left() + in);
        if (align & Qt::AlignRight)
            r.setRight(r.right() - in);
    }
    return r;
}

bool ClickLabel::PlainLine() const
{
    const QString t = text();
    if (t.isEmpty() || wordWrap() || t.contains(QLatin1Char('\n')) || !pixmap().isNull())
        return false;
    return !(textFormat() == Qt::RichText || (textFormat() == Qt::AutoText && Qt::mightBeRichText(t)));
}

bool ClickLabel::Elides() const
{
    return PlainLine() && fontMetrics().horizontalAdvance(text()) > TextRect().width();
}

QString ClickLabel::ShownText() const
{
    if (!Elides())
        return text();
    return fontMetrics().elidedText(text(), Qt::ElideRight, TextRect().width());
}

bool ClickLabel::event(QEvent *e)
{
    if (e->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        auto *help = static_cast<QHelpEvent *>(e);
        if (Elides())
            QToolTip::showText(help->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(e);
}

void ClickLabel::paintEvent(QPaintEvent *e)
{
    if (PlainLine()) {
        // The same drawing as QLabel's, of the text as shown (shortened or
        // whole). QLabel would lay out a text document for every label
        // that takes the focus, which costs a grid of hundreds of entries
        // far more than the drawing itself.
        QPainter p(this);
        drawFrame(&p);
        style()->drawItemText(&p, TextRect(), QStyle::visualAlignment(layoutDirection(), alignment()),
                              palette(), isEnabled(), ShownText(), foregroundRole());
    } else {
        QLabel::paintEvent(e);
    }
    if (!hasFocus())
        return;
    // A thin frame in the ink of selections: seen, without shouting.
    QPainter p(this);
    QColor ink = palette().color(QPalette::Highlight);
    ink.setAlpha(170);
    p.setPen(QPen(ink, 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

// --------------------------------------------------------------- hover highlight

namespace {

void SetLabelColour(QLabel *label, const QColor &colour)
{
    QPalette pal = label->palette();
    if (pal.color(QPalette::WindowText) == colour)
        return;
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
}

class HoverHighlight : public QObject {
public:
    HoverHighlight(const QList<QLabel *> &labels, QObject *parent) : QObject(parent)
    {
        for (QLabel *l : labels) {
            labels_.append(l);
            if (l) {
                l->setMouseTracking(true);
                l->installEventFilter(this);
            }
        }
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove ||
            event->type() == QEvent::HoverMove) {
            for (int k = 0; k < labels_.size(); ++k) {
                if (labels_[k] == watched) {
                    Hover(k);
                    break;
                }
            }
        }
        return false;
    }

private:
    void Hover(int k)
    {
        const QColor buttonText = QApplication::palette().color(QPalette::ButtonText);
        for (int i = 0; i < labels_.size(); ++i) {
            QLabel *l = labels_[i];
            if (!l)
                continue;
            if (i != k)
                SetLabelColour(l, buttonText);
            else if (!l->text().isEmpty())
                SetLabelColour(l, kHighlightRed);
        }
    }

    QList<QPointer<QLabel>> labels_;
};

}  // namespace

void InstallHoverHighlight(const QList<QLabel *> &labels)
{
    if (labels.isEmpty() || !labels.first())
        return;
    QObject *owner = labels.first()->parent() ? labels.first()->parent() : labels.first();
    new HoverHighlight(labels, owner);
}

QColor LabelColour(const QLabel *label)
{
    return label ? label->palette().color(QPalette::WindowText) : QColor();
}

}  // namespace versilo
