#include "FfmpegVideoEncoder.h"

#include <QFile>
#include <QStandardPaths>

namespace zq::recgen {

namespace {

constexpr int kStartTimeoutMs = 30000;
constexpr int kWriteTimeoutMs = 120000;
constexpr int kFinishTimeoutMs = 600000;
// Keep about one picture queued in the pipe: enough to keep ffmpeg busy, little memory.
constexpr qint64 kMaxQueuedBytes = 4 << 20;

QString LastLines(const QByteArray& text)
{
    const QList<QByteArray> lines = text.trimmed().split('\n');
    const QList<QByteArray> last = lines.mid(qMax(0, lines.size() - 4));
    return QString::fromLocal8Bit(last.join(" / "));
}

} // namespace

QString FfmpegProgram()
{
    const QString fromEnvironment = qEnvironmentVariable("ZQ_FFMPEG");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
}

bool RunFfmpeg(const QStringList& arguments, QString* error)
{
    const QString program = FfmpegProgram();
    if (program.isEmpty()) {
        *error = QStringLiteral("ffmpeg was not found");
        return false;
    }
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(
        program, QStringList { "-hide_banner", "-nostdin", "-loglevel", "error", "-y" } + arguments);
    if (!process.waitForStarted(kStartTimeoutMs)) {
        *error = QStringLiteral("cannot start ffmpeg: %1").arg(process.errorString());
        return false;
    }
    if (!process.waitForFinished(kFinishTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        *error = QStringLiteral("ffmpeg did not finish");
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        *error = QStringLiteral("ffmpeg failed: %1").arg(LastLines(process.readAllStandardError()));
        return false;
    }
    return true;
}

FfmpegVideoEncoder::~FfmpegVideoEncoder()
{
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished();
    }
}

QString FfmpegVideoEncoder::failure(const QString& what) const
{
    QFile log(m_logPath);
    QString detail;
    if (log.open(QIODevice::ReadOnly))
        detail = LastLines(log.readAll());
    return detail.isEmpty() ? what : what + QStringLiteral(": ") + detail;
}

bool FfmpegVideoEncoder::start(
    int width, int height, int framesPerSecond, int bitrateKbps, const QString& outputPath, QString* error)
{
    const QString program = FfmpegProgram();
    if (program.isEmpty()) {
        *error = QStringLiteral("ffmpeg was not found");
        return false;
    }
    QStringList arguments { "-hide_banner", "-loglevel", "error", "-y", "-f", "rawvideo", "-pix_fmt",
        "yuv420p", "-s", QStringLiteral("%1x%2").arg(width).arg(height), "-r",
        QString::number(framesPerSecond), "-i", "-", "-c:v", "libx264", "-preset", "ultrafast", "-tune",
        "zerolatency", "-g", QString::number(framesPerSecond), "-keyint_min",
        QString::number(framesPerSecond), "-sc_threshold", "0", "-bf", "0", "-pix_fmt", "yuv420p" };
    if (bitrateKbps > 0) {
        const QString rate = QStringLiteral("%1k").arg(bitrateKbps);
        arguments << "-b:v" << rate << "-maxrate" << rate << "-bufsize"
                  << QStringLiteral("%1k").arg(bitrateKbps);
    }
    arguments << "-f"
              << "h264" << outputPath;
    m_logPath = outputPath + QStringLiteral(".log");
    m_process = std::make_unique<QProcess>();
    m_process->setStandardOutputFile(QProcess::nullDevice());
    m_process->setStandardErrorFile(m_logPath);
    m_process->start(program, arguments);
    if (!m_process->waitForStarted(kStartTimeoutMs)) {
        *error = QStringLiteral("cannot start ffmpeg: %1").arg(m_process->errorString());
        return false;
    }
    return true;
}

bool FfmpegVideoEncoder::writeFrame(const QByteArray& picture, QString* error)
{
    if (!m_process || m_process->state() != QProcess::Running) {
        *error = failure(QStringLiteral("the video encoder stopped"));
        return false;
    }
    if (m_process->write(picture) != picture.size()) {
        *error = failure(QStringLiteral("cannot feed the video encoder"));
        return false;
    }
    while (m_process->bytesToWrite() > kMaxQueuedBytes) {
        if (!m_process->waitForBytesWritten(kWriteTimeoutMs)) {
            *error = failure(QStringLiteral("the video encoder stopped reading"));
            return false;
        }
    }
    return true;
}

bool FfmpegVideoEncoder::finish(QString* error)
{
    if (!m_process) {
        *error = QStringLiteral("the video encoder was not started");
        return false;
    }
    while (m_process->bytesToWrite() > 0 && m_process->state() == QProcess::Running) {
        if (!m_process->waitForBytesWritten(kWriteTimeoutMs))
            break;
    }
    m_process->closeWriteChannel();
    if (!m_process->waitForFinished(kFinishTimeoutMs)) {
        m_process->kill();
        m_process->waitForFinished();
        *error = QStringLiteral("the video encoder did not finish");
        return false;
    }
    if (m_process->exitStatus() != QProcess::NormalExit || m_process->exitCode() != 0) {
        *error = failure(QStringLiteral("the video encoder failed"));
        return false;
    }
    return true;
}

} // namespace zq::recgen
