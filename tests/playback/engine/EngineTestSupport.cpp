#include "EngineTestSupport.h"

#include "FrameStamp.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QTemporaryDir>
#include <QThread>
#include <cstdlib>
#include <gtest/gtest.h>

namespace zq::test {

QString Recording(const QString& key, const recgen::RecordingRequest& request)
{
    static QTemporaryDir folder;
    static QHash<QString, QString> written;
    if (const auto found = written.constFind(key); found != written.constEnd())
        return *found;
    const QString path = folder.filePath(key + QStringLiteral(".avi"));
    recgen::GeneratedRecording result;
    QString error;
    if (!recgen::WriteRecording(path, request, &result, &error)) {
        ADD_FAILURE() << "generator: " << error.toStdString();
        return {};
    }
    written.insert(key, path);
    return path;
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

void PumpFor(int ms)
{
    PumpUntil([] { return false; }, ms);
}

std::string ElementNames(GstElement* graph)
{
    QStringList names;
    if (graph == nullptr)
        return {};
    GST_OBJECT_LOCK(graph);
    for (GList* child = GST_BIN_CHILDREN(GST_BIN(graph)); child != nullptr; child = child->next)
        names.prepend(QString::fromUtf8(GST_OBJECT_NAME(child->data))); // children are kept newest first
    GST_OBJECT_UNLOCK(graph);
    return names.join(QStringLiteral(", ")).toStdString();
}

double RendererSegmentRate(GstElement* graph, const char* rendererName)
{
    GstElement* sink = gst_bin_get_by_name(GST_BIN(graph), rendererName);
    if (sink == nullptr)
        return 0.0;
    GstSample* sample = nullptr;
    g_object_get(sink, "last-sample", &sample, nullptr);
    gst_object_unref(sink);
    if (sample == nullptr)
        return 0.0;
    const GstSegment* segment = gst_sample_get_segment(sample);
    const double rate = segment != nullptr ? segment->rate : 0.0;
    gst_sample_unref(sample);
    return rate;
}

int FrameIndex(const QImage& picture)
{
    return recgen::DecodeFrameIndex(picture);
}

int FrameChannel(const QImage& picture)
{
    const recgen::FrameStamp stamp = recgen::DecodeFrameStamp(picture);
    return stamp.valid ? stamp.channel : -1;
}

double MeanDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.isNull())
        return 255.0;
    const QImage left = a.convertToFormat(QImage::Format_RGB32);
    const QImage right = b.convertToFormat(QImage::Format_RGB32);
    qint64 sum = 0;
    for (int y = 0; y < left.height(); ++y) {
        const auto* p = reinterpret_cast<const QRgb*>(left.constScanLine(y));
        const auto* q = reinterpret_cast<const QRgb*>(right.constScanLine(y));
        for (int x = 0; x < left.width(); ++x) {
            sum += std::abs(qRed(p[x]) - qRed(q[x])) + std::abs(qGreen(p[x]) - qGreen(q[x]))
                + std::abs(qBlue(p[x]) - qBlue(q[x]));
        }
    }
    return double(sum) / (3.0 * left.width() * left.height());
}

} // namespace zq::test
