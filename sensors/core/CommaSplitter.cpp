#include "CommaSplitter.h"

namespace zq {

bool CommaSplitter::next(QByteArrayView* field)
{
    if (m_done)
        return false;
    qsizetype end = m_pos;
    while (end < m_text.size() && m_text[end] != ',')
        ++end;
    *field = m_text.sliced(m_pos, end - m_pos);
    if (end == m_text.size())
        m_done = true;
    else
        m_pos = end + 1;
    return true;
}

} // namespace zq
