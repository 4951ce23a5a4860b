#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <memory>

namespace zq::recgen {

/// The ffmpeg program that encodes the streams: $ZQ_FFMPEG when set, else "ffmpeg" on the PATH. Empty when
/// none is found.
QString FfmpegProgram();

/// Runs ffmpeg with the given arguments and waits for it; false with the end of its error output in *error.
bool RunFfmpeg(const QStringList& arguments, QString* error);

/// One ffmpeg + libx264 process that reads raw YUV 4:2:0 pictures on its standard input and writes an
/// H.264 Annex B stream to a file: one IDR picture a second (no scene-cut keyframes, no B-frames), so every
/// second starts a group that decodes on its own.
class FfmpegVideoEncoder {
public:
    FfmpegVideoEncoder() = default;
    ~FfmpegVideoEncoder();
    FfmpegVideoEncoder(const FfmpegVideoEncoder&) = delete;
    FfmpegVideoEncoder& operator=(const FfmpegVideoEncoder&) = delete;

    /// bitrateKbps 0 keeps the encoder's default constant quality.
    bool start(int width, int height, int framesPerSecond, int bitrateKbps, const QString& outputPath,
        QString* error);
    bool writeFrame(const QByteArray& picture, QString* error);
    /// Closes the input and waits for the encoder to finish.
    bool finish(QString* error);

private:
    QString failure(const QString& what) const;

    std::unique_ptr<QProcess> m_process;
    QString m_logPath;
};

} // namespace zq::recgen
