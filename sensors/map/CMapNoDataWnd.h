#pragma once

#include "CMapStandInWnd.h"

namespace zq {

/// Stands in the map's place when the recording has no GPS data.
class CMapNoDataWnd : public CMapStandInWnd {
    Q_OBJECT
public:
    explicit CMapNoDataWnd(QWidget* parent = nullptr);
};

} // namespace zq
