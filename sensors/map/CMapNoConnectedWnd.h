#pragma once

#include "CMapStandInWnd.h"

namespace zq {

/// Stands in the map's place when the computer is offline.
class CMapNoConnectedWnd : public CMapStandInWnd {
    Q_OBJECT
public:
    explicit CMapNoConnectedWnd(QWidget* parent = nullptr);
};

} // namespace zq
