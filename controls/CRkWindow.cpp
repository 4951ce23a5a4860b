#include "CRkWindow.h"

namespace zq {

CRkWindow::CRkWindow(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool CRkWindow::CreateWindow(
    QWidget* parent, const QString& className, int id, int x, int y, int width, int height, bool visible)
{
    if (!parent)
        return false;
    setObjectName(className);
    setParent(parent);
    setGeometry(x, y, width, height);
    m_id = id;
    setVisible(visible);
    m_created = true;
    return true;
}

} // namespace zq
