#include "TestPrograms.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace zq::test {

QImage DecodeFrame(const QString& path, int videoStream, int frameIndex, const QString& filter)
{
    QTemporaryDir folder;
    const QString png = folder.filePath(QStringLiteral("frame.png"));
    QString chain = QStringLiteral("select=eq(n\\,%1)").arg(frameIndex);
    if (!filter.isEmpty())
        chain += QLatin1Char(',') + filter;
    const ProgramResult run = RunProgram(QStringLiteral("ffmpeg"),
        { "-v", "error", "-y", "-i", path, "-map", QStringLiteral("0:v:%1").arg(videoStream), "-vf", chain,
            "-frames:v", "1", png });
    if (run.exitCode != 0)
        return {};
    return QImage(png);
}

QStringList ProbeStreams(const QString& path)
{
    const ProgramResult run = RunProgram(QStringLiteral("ffprobe"),
        { "-v", "error", "-show_entries", "stream=codec_type,codec_name", "-of", "json", path });
    QStringList streams;
    if (run.exitCode != 0)
        return streams;
    const QJsonArray list = QJsonDocument::fromJson(run.out).object().value("streams").toArray();
    for (const QJsonValue& stream : list) {
        const QJsonObject object = stream.toObject();
        streams << object.value("codec_type").toString() + QLatin1Char(':')
                + object.value("codec_name").toString();
    }
    return streams;
}

} // namespace zq::test
