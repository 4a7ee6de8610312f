#pragma once
// Shared by the smooth button tests: synthetic mouse, key and hover events, and the face a button
// shows.
#include "Smooth/SmoothButton.h"

#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>

inline void SendMouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint at, Qt::MouseButtons held)
{
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
inline void Press(QWidget* w, Qt::MouseButton b = Qt::LeftButton, QPoint at = {20, 10})
{
    SendMouse(w, QEvent::MouseButtonPress, b, at, b);
}
inline void Release(QWidget* w, Qt::MouseButton b = Qt::LeftButton, QPoint at = {20, 10})
{
    SendMouse(w, QEvent::MouseButtonRelease, b, at, Qt::NoButton);
}
inline void DoubleClick(QWidget* w, Qt::MouseButton b = Qt::LeftButton, QPoint at = {20, 10})
{
    SendMouse(w, QEvent::MouseButtonDblClick, b, at, b);
}
inline void MoveHeld(QWidget* w, QPoint at) { SendMouse(w, QEvent::MouseMove, Qt::NoButton, at, Qt::LeftButton); }
inline void Enter(QWidget* w)
{
    QEnterEvent e(QPointF(5, 5), QPointF(5, 5), QPointF(w->mapToGlobal(QPoint(5, 5))));
    QApplication::sendEvent(w, &e);
}
inline void Leave(QWidget* w)
{
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(w, &e);
}
inline void Key(QWidget* w, int key, bool autoRepeat = false)
{
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, key == Qt::Key_Space ? QStringLiteral(" ") : QString(), autoRepeat);
    QApplication::sendEvent(w, &e);
}

// The button as it paints itself, on a transparent background.
inline QImage FaceOf(TSmoothButton& b)
{
    QImage image(b.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    b.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}
