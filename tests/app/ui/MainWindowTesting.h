#pragma once

#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>
#include <functional>

namespace zq::test {

/// Runs the event loop until the condition holds or the bound passes; whether it held.
bool WaitUntil(const std::function<bool()>& condition, int boundMs);

/// Writes a recording with the project's own generator (zq481k-tool generate) and the given options.
bool GenerateRecording(const QString& path, const QStringList& options = {});

/// Answers every message box that opens while it lives (OK), and remembers their object names.
class ModalAnswerer {
public:
    ModalAnswerer();
    const QStringList& Answered() const { return m_answered; }

private:
    QTimer m_timer;
    QStringList m_answered;
};

} // namespace zq::test
