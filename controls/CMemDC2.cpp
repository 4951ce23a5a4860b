#include "CMemDC2.h"

#include "CMemoryDC.h"

#include <QPaintDevice>

namespace zq {

CMemDC2::CMemDC2(QPainter* target, const QRect& rect)
    : m_target(target)
    , m_rect(rect)
{
    if (!m_target || !m_target->isActive() || rect.isEmpty())
        return;
    const QPaintDevice* device = m_target->device();
    const qreal ratio = device ? device->devicePixelRatioF() : 1.0;
    m_buffer = QImage(qRound(rect.width() * ratio), qRound(rect.height() * ratio), QImage::Format_RGB32);
    if (m_buffer.isNull())
        return;
    m_buffer.setDevicePixelRatio(ratio);
    m_buffer.fill(Qt::black);
    if (!begin(&m_buffer))
        return;
    // Callers draw in the target's coordinates, also for a rectangle that does not start at (0, 0).
    translate(-rect.left(), -rect.top());
}

CMemDC2::~CMemDC2()
{
    if (!isActive())
        return;
    end();
    BlitImage(*m_target, m_rect.left(), m_rect.top(), m_rect.width(), m_rect.height(), m_buffer, 0, 0);
}

} // namespace zq
