#pragma once

#include <QByteArray>
#include <QStringList>

namespace zq::bench {

/// A program run to its end as a whole process.
struct ChildRun {
    bool ok = false; // started and exited with status 0
    double seconds = 0.0; // wall time from the spawn to the exit
    QByteArray output; // its standard output
};

/// Runs arguments[0] (looked up on PATH) with the rest as its arguments, collecting its standard output.
ChildRun RunChild(const QStringList& arguments);

} // namespace zq::bench
