#pragma once

#include <QStringList>

namespace zq {

/// The application object: sets up the process (names, fonts, GStreamer) and runs the main window
/// modally; the process ends when it closes.
class CCorvaneApp {
public:
    /// What must be in place before the QApplication exists.
    static void PrepareEnvironment();
    /// Runs the viewer; the paths (a card root, folders or recordings) are listed like a drop once the
    /// start-up notice has closed.
    static int InitInstance(const QStringList& paths);
};

} // namespace zq
