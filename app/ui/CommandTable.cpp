#include "CommandTable.h"

namespace zq {

void CommandTable::Add(int id, std::function<void()> handler, bool evenWhileBusy)
{
    m_handlers.insert(id, { std::move(handler), evenWhileBusy });
}

bool CommandTable::Run(int id, bool busy) const
{
    const auto found = m_handlers.constFind(id);
    if (found == m_handlers.cend() || !found->handler || (busy && !found->evenWhileBusy))
        return false;
    found->handler();
    return true;
}

} // namespace zq
