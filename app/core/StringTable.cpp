#include "StringTable.h"

#include <QFile>

namespace zq {

bool StringTable::Load(const QString& path)
{
    m_texts.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    Parse(file.readAll());
    return true;
}

void StringTable::Parse(const QByteArray& bytes)
{
    m_texts.clear();
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype tab = line.indexOf('\t');
        if (tab <= 0)
            continue;
        bool ok = false;
        const int id = line.left(tab).trimmed().toInt(&ok);
        if (!ok)
            continue;
        QString text = QString::fromUtf8(line.mid(tab + 1));
        text.replace(QLatin1String("\\n"), QLatin1String("\n"));
        m_texts.insert(id, text);
    }
}

} // namespace zq
