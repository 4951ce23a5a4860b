#include "CMapNoDataWnd.h"

#include "SkinImageTable.h"

namespace zq {

CMapNoDataWnd::CMapNoDataWnd(QWidget* parent)
    : CMapStandInWnd("RkMapNoDataWnd", kNoDataEnglish, parent)
{
}

} // namespace zq
