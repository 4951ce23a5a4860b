#include "SkinTestImages.h"

#include "SkinDraw.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>

namespace zq::test {

QRgb ColourForId(int id)
{
    // Spread neighbouring identifiers far apart in colour; never the colour key black.
    const quint32 mixed = quint32(id) * 2654435761u;
    return qRgb(int(32 + (mixed >> 24) % 224), int(32 + (mixed >> 16) % 224), int(32 + (mixed >> 8) % 224));
}

ScopedSkinFolder::ScopedSkinFolder()
    : m_previousRoot(SkinResourceInstance())
{
    QDir(m_dir.path()).mkpath(QStringLiteral("bmp"));
    QDir(m_dir.path()).mkpath(QStringLiteral("png"));
    SetSkinResourceInstance(m_dir.path());
}

ScopedSkinFolder::~ScopedSkinFolder()
{
    SetSkinResourceInstance(m_previousRoot);
}

bool ScopedSkinFolder::AddBitmap(int id, int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour ? colour : ColourForId(id));
    return AddBitmap(id, image);
}

bool ScopedSkinFolder::AddBitmap(int id, const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGB888)
        .save(m_dir.filePath(QStringLiteral("bmp/%1.bmp").arg(id)), "BMP");
}

bool ScopedSkinFolder::AddPng(int id, const QImage& image)
{
    return image.save(m_dir.filePath(QStringLiteral("png/%1.png").arg(id)), "PNG");
}

bool ScopedSkinFolder::AddBrokenPng(int id)
{
    QFile file(m_dir.filePath(QStringLiteral("png/%1.png").arg(id)));
    return file.open(QIODevice::WriteOnly) && file.write("not a picture at all") > 0;
}

QList<int> MessageRecorder::Commands() const
{
    QList<int> ids;
    for (const auto& [message, wParam] : m_messages)
        if (message == kMsgCommand)
            ids << int(wParam);
    return ids;
}

bool MessageRecorder::event(QEvent* event)
{
    if (event->type() != WindowMessageEvent::kType)
        return QWidget::event(event);
    const auto* message = static_cast<const WindowMessageEvent*>(event);
    m_messages.append({ message->Message(), message->WParam() });
    return true;
}

QImage Grab(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void SendMouse(
    QWidget& widget, QEvent::Type type, const QPoint& at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    if (type == QEvent::MouseMove)
        button = Qt::NoButton;
    if (type == QEvent::MouseButtonRelease)
        buttons &= ~Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

void Click(QWidget& widget, const QPoint& at, Qt::MouseButton button)
{
    SendMouse(widget, QEvent::MouseButtonPress, at, button, button);
    SendMouse(widget, QEvent::MouseButtonRelease, at, button, button);
}

} // namespace zq::test
