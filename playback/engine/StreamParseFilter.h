#pragma once

#include "FilterFactories.h"
#include "HResult.h"

#include <QString>
#include <gst/gst.h>

namespace zq {

/// "TQStreamParseFilter": a bin of filesrc and avidemux that splits a recording into its channel video
/// pins and its audio pin. Load reads the AVI header with our own reader, so the pins (ghost pads named
/// as the demuxer will name its pads: "video_0", "video_1", ..., "audio_0") exist and can be counted and
/// connected before any data flows; each demuxer pad is joined to its pin when it appears. A demuxer pad
/// whose pin is not connected ends in a fake sink inside the bin. The object belongs to the bin element.
class StreamParseFilter {
public:
    /// The bin (floating reference) with its control attached; null when a factory is missing.
    static GstElement* Create(const FilterFactories& factories);
    /// The control of a parse bin, or null when element is not one.
    static StreamParseFilter* Query(GstElement* element);

    // Stream-parse control: both values are kept for the demuxer and change nothing in its output.
    HRESULT SetFlag(qint32 flag);
    HRESULT SetPair(qint32 first, qint32 second);
    qint32 flag() const { return m_flag; }
    qint32 pairFirst() const { return m_pairFirst; }
    qint32 pairSecond() const { return m_pairSecond; }

    /// The file source: reads the stream list of path and makes one pin per video and audio stream.
    /// E_FAIL when the file cannot be read as an AVI file, VFW_E_WRONG_STATE when a file is loaded already.
    HRESULT Load(const QString& path);
    const QString& fileName() const { return m_fileName; }

private:
    StreamParseFilter(
        GstElement* bin, GstElement* fileSource, GstElement* demuxer, const FilterFactories& factories);
    static void OnPadAdded(GstElement* demuxer, GstPad* pad, StreamParseFilter* self);
    static void OnNoMorePads(GstElement* demuxer, StreamParseFilter* self);
    void EndInFakeSink(GstPad* pad);

    GstElement* m_bin; // the bin owns this object and its children
    GstElement* m_fileSource;
    GstElement* m_demuxer;
    FilterFactories m_factories;
    QString m_fileName;
    qint32 m_flag = 0;
    qint32 m_pairFirst = 0;
    qint32 m_pairSecond = 0;
};

} // namespace zq
