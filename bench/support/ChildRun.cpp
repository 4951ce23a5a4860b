#include "ChildRun.h"

#include <QFile>
#include <QVector>
#include <chrono>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zq::bench {

ChildRun RunChild(const QStringList& arguments)
{
    QVector<QByteArray> storage;
    for (const QString& argument : arguments)
        storage.append(QFile::encodeName(argument));
    QVector<char*> argv;
    for (QByteArray& argument : storage)
        argv.append(argument.data());
    argv.append(nullptr);

    ChildRun run;
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    char buffer[65536];
    for (ssize_t got = 0; spawned == 0 && (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        run.output.append(buffer, got);
    ::close(pipeEnds[0]);
    int status = 0;
    if (spawned != 0 || ::waitpid(pid, &status, 0) != pid)
        return run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

} // namespace zq::bench
