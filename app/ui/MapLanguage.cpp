#include "MapLanguage.h"

#include "MapArea.h"

#include <QWidget>

namespace zq {

void ApplyMapLanguage(QWidget* window, int language)
{
    for (MapArea* map : window->findChildren<MapArea*>())
        map->SetLanguage(language);
}

} // namespace zq
