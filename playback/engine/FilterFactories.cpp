#include "FilterFactories.h"

#include <QtGlobal>

namespace zq {

FilterFactories FilterFactories::FromEnvironment()
{
    FilterFactories factories;
    const QByteArray sink = qgetenv("ZQ_AUDIO_SINK");
    if (!sink.isEmpty())
        factories.audioSink = sink;
    return factories;
}

} // namespace zq
