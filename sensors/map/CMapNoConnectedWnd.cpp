#include "CMapNoConnectedWnd.h"

#include "SkinImageTable.h"

namespace zq {

CMapNoConnectedWnd::CMapNoConnectedWnd(QWidget* parent)
    : CMapStandInWnd("RkNotConnectedWnd", kNotConnectedEnglish, parent)
{
}

} // namespace zq
