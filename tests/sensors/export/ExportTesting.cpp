#include "ExportTesting.h"

#include "TestSupport.h"

#include <QProcess>
#include <QTemporaryDir>

namespace zq::test {

ExportRecording RecordingOf(const QString& name, std::initializer_list<const char*> sentences)
{
    ExportRecording recording;
    recording.name = name;
    recording.path = QStringLiteral("/card/NORMAL/") + name;
    for (const char* sentence : sentences)
        recording.records.gps.append(CGPSData::FromRmcSentence(QByteArrayView(sentence)));
    return recording;
}

QString SchemaProblems(const QByteArray& document, const QString& schemaFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("document.xml"));
    if (!writeFile(path, document))
        return QStringLiteral("cannot write the document");
    QProcess xmllint;
    xmllint.setProcessChannelMode(QProcess::MergedChannels);
    xmllint.start(QStringLiteral("xmllint"),
        { QStringLiteral("--noout"), QStringLiteral("--nonet"), QStringLiteral("--schema"),
            dataPath(schemaFile), path });
    if (!xmllint.waitForFinished(60000))
        return QStringLiteral("xmllint did not run (install libxml2-utils): ") + xmllint.errorString();
    if (xmllint.exitStatus() != QProcess::NormalExit || xmllint.exitCode() != 0)
        return QString::fromUtf8(xmllint.readAll());
    return {};
}

std::optional<QVector<QStringList>> ParseCsv(const QByteArray& bytes)
{
    const QString text = QString::fromUtf8(bytes);
    QVector<QStringList> rows;
    QStringList row;
    QString field;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] == u'"' && field.isEmpty()) {
            ++i;
            for (;;) {
                if (i >= text.size())
                    return std::nullopt;
                if (text[i] == u'"') {
                    if (i + 1 < text.size() && text[i + 1] == u'"') {
                        field += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i++];
            }
            if (i < text.size() && text[i] != u',' && text[i] != u'\r')
                return std::nullopt;
            continue;
        }
        if (text[i] == u',') {
            row.append(field);
            field.clear();
            ++i;
        } else if (text[i] == u'\r') {
            if (i + 1 >= text.size() || text[i + 1] != u'\n')
                return std::nullopt;
            row.append(field);
            field.clear();
            rows.append(row);
            row.clear();
            i += 2;
        } else if (text[i] == u'\n' || text[i] == u'"') {
            return std::nullopt;
        } else {
            field += text[i++];
        }
    }
    if (!row.isEmpty() || !field.isEmpty())
        return std::nullopt; // the last line has no CR LF
    return rows;
}

} // namespace zq::test
