#pragma once

#include "WindowMessageEvent.h"

#include <QEvent>
#include <QImage>
#include <QList>
#include <QTemporaryDir>
#include <QWidget>

namespace zq::test {

/// A distinct opaque colour for an image identifier, so that a pixel tells which image was drawn.
QRgb ColourForId(int id);

/// A skin folder of the tests' own ("bmp/<id>.bmp", "png/<id>.png"); the primitives read from it while it
/// lives, and from the previous resource root afterwards.
class ScopedSkinFolder {
public:
    ScopedSkinFolder();
    ~ScopedSkinFolder();
    QString Root() const { return m_dir.path(); }
    /// A bitmap of one colour, ColourForId(id) unless given.
    bool AddBitmap(int id, int width, int height, QRgb colour = 0);
    bool AddBitmap(int id, const QImage& image);
    bool AddPng(int id, const QImage& image);
    /// A "PNG" whose bytes do not decode.
    bool AddBrokenPng(int id);

private:
    QTemporaryDir m_dir;
    QString m_previousRoot;
};

/// An owner window that writes down the commands and private messages it receives.
class MessageRecorder : public QWidget {
public:
    using QWidget::QWidget;
    QList<std::pair<int, qintptr>> m_messages; // message, wParam
    QList<int> Commands() const;

protected:
    bool event(QEvent* event) override;
};

/// The widget as it paints now.
QImage Grab(QWidget& widget);
/// Mouse events as the window system sends them.
void SendMouse(QWidget& widget, QEvent::Type type, const QPoint& at, Qt::MouseButton button = Qt::LeftButton,
    Qt::MouseButtons buttons = Qt::LeftButton);
void Click(QWidget& widget, const QPoint& at, Qt::MouseButton button = Qt::LeftButton);

} // namespace zq::test
