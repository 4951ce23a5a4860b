#pragma once

#include "ReportTexts.h"
#include "ReportValues.h"

#include <QDateTime>
#include <QImage>

namespace zq {

/// Everything one report prints, filled by the caller before printing: the Print command from the open
/// recording, the report command of zq481k-tool from a recording it opens itself.
struct ReportInput {
    /// The open recording's channel count; the rear picture and its caption are printed only for 2.
    int channelCount = 2;
    /// Current frames of channel 0 and 1 at the recording's own size; a null frame is left out.
    QImage frontFrame;
    QImage rearFrame;
    /// The map view's client area as it is shown; null when no map view is shown. Printed only with a
    /// position (both coordinates non-zero).
    QImage mapPicture;
    /// Position and G-sensor values at the playback position.
    ReportValues values;
    /// The option-file model index: any other model than 0 prints no titles.
    int model = 0;
    ReportTexts texts;
    /// The time printed in the header; invalid means the local time when the header is drawn.
    QDateTime printedAt;
};

} // namespace zq
