#pragma once

#include "RecordingGenerator.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <gst/gst.h>
#include <string>

namespace zq::test {

/// A generated recording for request, written once per test program under key and reused by later tests.
/// Empty (and a test failure) when the generator fails.
QString Recording(const QString& key, const recgen::RecordingRequest& request);

/// Runs the Qt event loop (queued frames, bus messages) until done() holds or timeoutMs pass.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);
void PumpFor(int ms);

/// Names of the elements directly inside graph, in the order they were added, joined by ", ".
std::string ElementNames(GstElement* graph);

/// The rate of the segment that the newest frame of a renderer belongs to (0 without a frame).
double RendererSegmentRate(GstElement* graph, const char* rendererName);

/// The frame index stamped into a generated picture, -1 when it cannot be read.
int FrameIndex(const QImage& picture);
/// The channel stamped into a generated picture, -1 when it cannot be read.
int FrameChannel(const QImage& picture);

/// Mean of |a - b| over the colour components of two images of one size (255 when sizes differ).
double MeanDifference(const QImage& a, const QImage& b);

} // namespace zq::test
