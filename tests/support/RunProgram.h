#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zq::test {

/// What a program did: its exit code and everything it wrote.
struct ProgramResult {
    int exitCode = -1; // -1: it did not start, crashed or ran out of time
    QByteArray out;
    QByteArray err;
    QString OutText() const { return QString::fromUtf8(out); }
    QString ErrText() const { return QString::fromUtf8(err); }
};

/// Runs a program to its end with its input closed. `environment` entries ("NAME=value") are added to this
/// process's environment; a program still running after `timeoutMs` is killed.
ProgramResult RunProgram(const QString& program, const QStringList& arguments,
    const QStringList& environment = {}, int timeoutMs = 240000);

/// Runs the bundle's zq481k-tool.
ProgramResult RunTool(
    const QStringList& arguments, const QStringList& environment = {}, int timeoutMs = 120000);

} // namespace zq::test
