#pragma once

#include <QHash>
#include <functional>

namespace zq {

/// One handler per command identifier (buttons, menu commands, keys). While an open is in progress every
/// command except those marked to run anyway (Close) is refused.
class CommandTable {
public:
    void Add(int id, std::function<void()> handler, bool evenWhileBusy = false);
    bool Has(int id) const { return m_handlers.contains(id); }
    /// Runs the command's handler; false when there is none or it was refused.
    bool Run(int id, bool busy) const;

private:
    struct Entry {
        std::function<void()> handler;
        bool evenWhileBusy = false;
    };
    QHash<int, Entry> m_handlers;
};

} // namespace zq
