#include "ChoiceList.h"

namespace zq::device {

void ChoiceList::Clear()
{
    items.clear();
    current = -1;
}

bool ChoiceList::Select(int index)
{
    if (index < 0 || index >= items.size()) {
        current = -1;
        return false;
    }
    current = index;
    return true;
}

bool ChoiceList::SelectPrefix(const QString& prefix)
{
    if (prefix.isEmpty())
        return false;
    for (int i = 0; i < items.size(); ++i) {
        if (items[i].startsWith(prefix, Qt::CaseInsensitive)) {
            current = i;
            return true;
        }
    }
    return false;
}

QString ChoiceList::CurrentText() const
{
    return current >= 0 && current < items.size() ? items[current] : QString();
}

} // namespace zq::device
