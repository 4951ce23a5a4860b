#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>

namespace zq {

namespace detail {
// Holds the buffer so that it exists before the painter that draws on it starts.
struct CMemDC2Buffer {
    QImage m_buffer;
};
} // namespace detail

/// A scoped double buffer: draw on it with the target's coordinates inside `rect`; on destruction the
/// picture is copied to the target's `rect` in one step.
class CMemDC2 : private detail::CMemDC2Buffer, public QPainter {
public:
    CMemDC2(QPainter* target, const QRect& rect);
    ~CMemDC2();
    CMemDC2(const CMemDC2&) = delete;
    CMemDC2& operator=(const CMemDC2&) = delete;

    QRect Rect() const { return m_rect; }
    /// False when the buffer could not be made; drawing then goes nowhere and nothing is copied.
    bool IsValid() const { return isActive(); }

private:
    QPainter* m_target;
    QRect m_rect;
};

} // namespace zq
