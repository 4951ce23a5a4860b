#pragma once

#include <QByteArrayView>

namespace zq {

/// Splits text at commas, one field at a time. Adjacent commas give an empty field; the position lives in
/// the splitter, so any number of sentences can be split at once on any threads.
class CommaSplitter {
public:
    explicit CommaSplitter(QByteArrayView text)
        : m_text(text)
    {
    }

    /// The next field; false once the text is used up (text "a," gives "a", "", then false).
    bool next(QByteArrayView* field);

private:
    QByteArrayView m_text;
    qsizetype m_pos = 0;
    bool m_done = false;
};

} // namespace zq
