#include "RecordingGenerator.h"

#include "AviWriter.h"
#include "DriveModel.h"
#include "FfmpegVideoEncoder.h"
#include "FramePainter.h"
#include "UserDataBlock.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

namespace zq::recgen {

namespace {

constexpr int kMinWidthPx = 48;
constexpr int kMinHeightPx = 32;
constexpr int kMaxSidePx = 4096;
constexpr int kMaxFramesPerSecond = 120;
constexpr double kMaxDurationSeconds = 3600.0;
constexpr int kMaxSensorRate = 1000;
constexpr qint64 kMaxTargetBytes = 0xF0000000ll;
constexpr int kAacFrameSamples = 1024;
constexpr int kAacBitrateKbps = 32;
constexpr int kPcmBlocksPerSecond = 10;
constexpr int kToneHz = 440;
constexpr int kNoiseAmplitude = 40;

QDateTime DefaultStart()
{
    return QDateTime(QDate(2017, 5, 31), QTime(0, 5, 7), QTimeZone::utc());
}

bool Fail(QString* error, const QString& message)
{
    if (error != nullptr)
        *error = message;
    return false;
}

} // namespace

QString CheckRecordingRequest(const RecordingRequest& request)
{
    if (request.videoStreams != 1 && request.videoStreams != 2 && request.videoStreams != 4)
        return QStringLiteral("video streams must be 1, 2 or 4, not %1").arg(request.videoStreams);
    auto badSize = [](int width, int height) {
        return width < kMinWidthPx || height < kMinHeightPx || width > kMaxSidePx || height > kMaxSidePx
            || (width % 2) != 0 || (height % 2) != 0;
    };
    if (badSize(request.frontWidth, request.frontHeight)
        || (request.videoStreams > 1 && badSize(request.rearWidth, request.rearHeight)))
        return QStringLiteral("picture sizes must be even, from %1x%2 to %3x%3")
            .arg(kMinWidthPx)
            .arg(kMinHeightPx)
            .arg(kMaxSidePx);
    if (request.framesPerSecond < 1 || request.framesPerSecond > kMaxFramesPerSecond)
        return QStringLiteral("frames per second must be 1 to %1").arg(kMaxFramesPerSecond);
    if (!(request.durationSeconds > 0.0) || request.durationSeconds > kMaxDurationSeconds)
        return QStringLiteral("the duration must be above 0 and at most %1 s").arg(kMaxDurationSeconds);
    if (request.strd == StrdPlacement::RearVideo && request.videoStreams < 2)
        return QStringLiteral("the strd block cannot go into the rear stream of a one-channel recording");
    if (request.strd == StrdPlacement::Audio && request.audio == AudioKind::None)
        return QStringLiteral("the strd block cannot go into the audio stream of a recording without audio");
    if (request.gsensorPerSecond < 0 || request.gsensorPerSecond > kMaxSensorRate || request.gpsPerSecond < 0
        || request.gpsPerSecond > kMaxSensorRate)
        return QStringLiteral("sensor rates must be 0 to %1 a second").arg(kMaxSensorRate);
    if (request.targetBytes < 0 || request.targetBytes > kMaxTargetBytes)
        return QStringLiteral("the target size must be 0 to %1 bytes").arg(kMaxTargetBytes);
    if (request.truncateAt < -1)
        return QStringLiteral("the truncation length must be -1 or a byte count");
    if (request.videoBitrateKbps < 0 || request.videoBitrateKbps > 200000)
        return QStringLiteral("the video bit rate must be 0 to 200000 kbit/s");
    if (request.audioSampleRate < 8000 || request.audioSampleRate > 48000)
        return QStringLiteral("the audio sample rate must be 8000 to 48000");
    if (request.junkBeforeIdx1Bytes < 0 || request.junkBeforeIdx1Bytes > (1 << 24))
        return QStringLiteral("the JUNK size in front of idx1 must be 0 to 16 MiB");
    return {};
}

namespace {

// Records at k / rate for every k with k / rate < seconds.
int RecordCount(int perSecond, double seconds)
{
    if (perSecond <= 0)
        return 0;
    return int(std::ceil(perSecond * seconds - 1e-9));
}

bool EncodeVideo(const RecordingRequest& request, int frames, const QString& folder,
    QVector<EncodedStream>* out, QString* error)
{
    struct Channel {
        int width;
        int height;
        int kbps;
        std::unique_ptr<FramePainter> painter;
        FfmpegVideoEncoder encoder;
        QString path;
    };
    std::vector<std::unique_ptr<Channel>> channels;
    qint64 totalPixels = 0;
    for (int index = 0; index < request.videoStreams; ++index) {
        auto channel = std::make_unique<Channel>();
        channel->width = index == 0 ? request.frontWidth : request.rearWidth;
        channel->height = index == 0 ? request.frontHeight : request.rearHeight;
        totalPixels += qint64(channel->width) * channel->height;
        channels.push_back(std::move(channel));
    }
    for (int index = 0; index < request.videoStreams; ++index) {
        Channel& channel = *channels[size_t(index)];
        const qint64 pixels = qint64(channel.width) * channel.height;
        channel.kbps = request.videoBitrateKbps > 0
            ? std::max(1, int(qint64(request.videoBitrateKbps) * pixels / totalPixels))
            : 0;
        channel.painter = std::make_unique<FramePainter>(channel.width, channel.height, index,
            request.framesPerSecond, channel.kbps > 0 ? kNoiseAmplitude : 0);
        channel.path = QStringLiteral("%1/video%2.h264").arg(folder).arg(index);
        if (!channel.encoder.start(
                channel.width, channel.height, request.framesPerSecond, channel.kbps, channel.path, error))
            return false;
    }
    // Feeding all encoders picture by picture lets them run side by side.
    for (int frame = 0; frame < frames; ++frame) {
        for (auto& channel : channels) {
            if (!channel->encoder.writeFrame(channel->painter->paint(frame), error))
                return false;
        }
    }
    for (auto& channel : channels) {
        if (!channel->encoder.finish(error))
            return false;
        QFile file(channel->path);
        if (!file.open(QIODevice::ReadOnly))
            return Fail(error, QStringLiteral("cannot read the encoded video %1").arg(channel->path));
        EncodedStream stream = SplitAnnexB(file.readAll());
        if (stream.units.size() != frames || !stream.units.first().keyframe)
            return Fail(error,
                QStringLiteral("the encoder returned %1 pictures for %2 frames")
                    .arg(stream.units.size())
                    .arg(frames));
        out->append(std::move(stream));
    }
    return true;
}

bool EncodeAac(int sampleRate, double seconds, const QString& folder, EncodedStream* out, QByteArray* config,
    QString* error)
{
    const QString path = folder + QStringLiteral("/audio.aac");
    // A tone with a higher beep at the start of every second, so sound and picture can be lined up by ear.
    const QString source = QStringLiteral("sine=frequency=%1:beep_factor=2:sample_rate=%2:duration=%3")
                               .arg(kToneHz)
                               .arg(sampleRate)
                               .arg(seconds + 0.2, 0, 'f', 3);
    if (!RunFfmpeg({ "-f", "lavfi", "-i", source, "-ac", "1", "-c:a", "aac", "-b:a",
                       QStringLiteral("%1k").arg(kAacBitrateKbps), "-f", "adts", path },
            error))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(error, QStringLiteral("cannot read the encoded audio"));
    *out = SplitAdts(file.readAll(), config);
    const int needed = std::max(1, int(std::ceil(seconds * sampleRate / kAacFrameSamples)));
    if (out->units.isEmpty() || config->size() != 2)
        return Fail(error, QStringLiteral("the audio encoder wrote no AAC frames"));
    if (out->units.size() > needed)
        out->units.resize(needed);
    return true;
}

EncodedStream MakePcm(int sampleRate, double seconds)
{
    EncodedStream stream;
    const int blockSamples = sampleRate / kPcmBlocksPerSecond;
    const int blocks = std::max(1, int(std::ceil(seconds * kPcmBlocksPerSecond - 1e-9)));
    QByteArray block(blockSamples * 2, '\0');
    for (int index = 0; index < blocks; ++index) {
        for (int sample = 0; sample < blockSamples; ++sample) {
            const qint64 absolute = qint64(index) * blockSamples + sample;
            const bool beep = (absolute % sampleRate) < sampleRate / 10;
            const double phase
                = 2.0 * std::numbers::pi * (beep ? 2 * kToneHz : kToneHz) * absolute / sampleRate;
            const auto value = qint16(std::lround(6000.0 * std::sin(phase)));
            block[2 * sample] = char(value & 0xFF);
            block[2 * sample + 1] = char((value >> 8) & 0xFF);
        }
        stream.append(block.constData(), int(block.size()), true);
    }
    return stream;
}

void SetAudioChunks(AviStream& audio, AudioKind kind, int sampleRate, double seconds)
{
    if (kind == AudioKind::Aac)
        audio.chunkCount
            = std::max<qint64>(1, qint64(std::ceil(seconds * sampleRate / kAacFrameSamples - 1e-9)));
    else
        audio.chunkCount = std::max<qint64>(1, qint64(std::ceil(seconds * kPcmBlocksPerSecond - 1e-9)));
}

} // namespace

bool WriteRecording(
    const QString& path, const RecordingRequest& request, GeneratedRecording* result, QString* error)
{
    const QString problem = CheckRecordingRequest(request);
    if (!problem.isEmpty())
        return Fail(error, problem);
    const QDateTime start = request.startUtc.isValid() ? request.startUtc.toUTC() : DefaultStart();
    const int fps = request.framesPerSecond;
    const int encodedFrames = std::max(1, int(std::lround(request.durationSeconds * fps)));

    QTemporaryDir work;
    if (!work.isValid())
        return Fail(error, QStringLiteral("cannot create a temporary folder: %1").arg(work.errorString()));

    QString localError;
    QString* why = error != nullptr ? error : &localError;
    QVector<EncodedStream> video;
    if (!EncodeVideo(request, encodedFrames, work.path(), &video, why))
        return false;

    QVector<AviStream> streams;
    for (int index = 0; index < request.videoStreams; ++index) {
        AviStream stream;
        stream.video = true;
        stream.width = index == 0 ? request.frontWidth : request.rearWidth;
        stream.height = index == 0 ? request.frontHeight : request.rearHeight;
        stream.scale = 1;
        stream.rate = quint32(fps);
        stream.chunkCount = encodedFrames;
        stream.encoded = std::move(video[index]);
        streams.append(std::move(stream));
    }
    const double encodedSeconds = double(encodedFrames) / fps;
    if (request.audio != AudioKind::None) {
        AviStream audio;
        audio.video = false;
        audio.channels = 1;
        audio.sampleRate = request.audioSampleRate;
        if (request.audio == AudioKind::Aac) {
            if (!EncodeAac(request.audioSampleRate, encodedSeconds, work.path(), &audio.encoded,
                    &audio.formatExtra, why))
                return false;
            audio.formatTag = 0xFF;
            audio.bitsPerSample = 16;
            audio.blockAlign = kAacFrameSamples;
            audio.scale = kAacFrameSamples;
            audio.rate = quint32(request.audioSampleRate);
            audio.sampleSize = 0;
            audio.chunkScale = 1;
        } else {
            audio.encoded = MakePcm(request.audioSampleRate, encodedSeconds);
            audio.formatTag = 1;
            audio.bitsPerSample = 16;
            audio.blockAlign = 2;
            audio.scale = 2;
            audio.rate = quint32(request.audioSampleRate * 2);
            audio.sampleSize = 2;
            audio.chunkScale = quint32(request.audioSampleRate / kPcmBlocksPerSecond);
        }
        SetAudioChunks(audio, request.audio, request.audioSampleRate, encodedSeconds);
        streams.append(std::move(audio));
    }

    AviLayoutOptions options;
    options.idx1BeforeMovi = request.idx1BeforeMovi;
    options.junkBeforeIdx1Bytes = request.junkBeforeIdx1Bytes;

    // Growing to a target size repeats the encoded pictures: every repetition starts with the IDR picture of
    // the first frame, so the stream stays valid and the timestamps simply go on.
    qint64 frames = encodedFrames;
    if (request.targetBytes > 0) {
        const qint64 base = AviWriter::PlannedSize(streams, options);
        qint64 fixed = 0;
        {
            QVector<AviStream> empty = streams;
            for (AviStream& stream : empty)
                stream.chunkCount = 0;
            fixed = AviWriter::PlannedSize(empty, options);
        }
        const double perFrame = double(base - fixed) / encodedFrames;
        if (request.targetBytes > base && perFrame > 0.0)
            frames = std::max<qint64>(
                encodedFrames, qint64(std::llround((request.targetBytes - fixed) / perFrame)));
        const qint64 maxFrames = qint64(kMaxDurationSeconds * 24 * fps);
        frames = std::min(frames, maxFrames);
        for (AviStream& stream : streams) {
            if (stream.video)
                stream.chunkCount = frames;
            else
                SetAudioChunks(stream, request.audio, request.audioSampleRate, double(frames) / fps);
        }
    }
    const double seconds = double(frames) / fps;

    // The sensor data: as given, or a made-up drive.
    QVector<GSample> gsensor;
    if (!request.gsensor.isEmpty()) {
        gsensor = request.gsensor;
    } else {
        const DriveModel drive(request.driveStartUtc.isValid() ? request.driveStartUtc : start);
        gsensor = drive.gsensor(start, RecordCount(request.gsensorPerSecond, seconds),
            request.gsensorPerSecond, request.parked, request.impactAtSeconds);
    }
    for (GSample& sample : gsensor)
        sample = UserDataBlock::Representable(sample);
    QVector<GpsPoint> fixes;
    if (request.gps) {
        const int gpsRate = std::max(1, request.gpsPerSecond);
        if (!request.fixes.isEmpty()) {
            fixes = request.fixes;
            for (int index = 0; index < fixes.size(); ++index) {
                if (!fixes[index].utc.isValid())
                    fixes[index].utc = start.addMSecs(qint64(index) * 1000 / gpsRate);
            }
        } else {
            const DriveModel drive(request.driveStartUtc.isValid() ? request.driveStartUtc : start);
            fixes = drive.fixes(
                start, RecordCount(request.gpsPerSecond, seconds), gpsRate, request.parked, true);
        }
        for (GpsPoint& fix : fixes) {
            if (request.invalidFixes)
                fix.valid = false;
            fix = UserDataBlock::AsWritten(fix);
        }
    }
    const QByteArray block = UserDataBlock::Build(request, start, gsensor, fixes);

    switch (request.strd) {
    case StrdPlacement::FirstVideo:
        streams[0].strd = block;
        break;
    case StrdPlacement::RearVideo:
        streams[1].strd = block;
        break;
    case StrdPlacement::Audio:
        streams.last().strd = block;
        break;
    case StrdPlacement::None:
        break;
    }

    if (!AviWriter::Write(path, streams, options, why)) {
        // A half-written file would pass for a recording; leave none.
        QFile::remove(path);
        return false;
    }
    QFile written(path);
    qint64 size = written.size();
    if (request.truncateAt >= 0 && request.truncateAt < size) {
        if (!written.resize(request.truncateAt))
            return Fail(error, QStringLiteral("cannot truncate %1: %2").arg(path, written.errorString()));
        size = request.truncateAt;
    }

    if (result != nullptr) {
        result->path = path;
        result->sizeBytes = size;
        result->videoFramesPerStream = int(frames);
        result->encodedFramesPerStream = encodedFrames;
        result->durationSeconds = seconds;
        result->audioChunks = request.audio == AudioKind::None ? 0 : int(streams.last().chunkCount);
        result->userData = request.strd == StrdPlacement::None ? QByteArray() : block;
        result->gsensor = gsensor;
        result->fixes = fixes;
    }
    return true;
}

QString RecordingFileName(const QDateTime& localStart, char categoryLetter)
{
    return localStart.toString(QStringLiteral("yyyyMMdd_HHmmss")) + QLatin1Char(categoryLetter)
        + QStringLiteral(".avi");
}

} // namespace zq::recgen
