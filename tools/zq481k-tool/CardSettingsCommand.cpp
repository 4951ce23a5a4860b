#include "Commands.h"
#include "OptionFile.h"
#include "SettingModel.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zq::tool {

namespace {

void printCardSettingsHelp(QTextStream& stream)
{
    stream
        << "usage: zq481k-tool card-settings ROOT [--set \"LABEL=VALUE\"]... [--clock \"YYYY-MM-DD "
           "HH:MM:SS\"]\n"
           "                                [--write] [--json]\n\n"
           "Opens the recorder settings of the card at ROOT as the viewer's settings dialog does (model\n"
           "defaults, then setup.cfg and time.cfg of the card) and prints what confirming the dialog would\n"
           "write: the 25 setup.cfg lines, the two time.cfg lines when the clock is set, and whether the\n"
           "format marker ZQ481K_FMT.BIN would be deleted.\n\n"
           "  --set \"LABEL=VALUE\"  set a field, named by its label without padding and colon\n"
           "                       (\"Acc Trigger Level=4\"), to the value its line holds; values the "
           "dialog\n"
           "                       cannot show are refused\n"
           "  --clock \"YYYY-MM-DD HH:MM:SS\"  set the recorder clock (writes time.cfg)\n"
           "  --write              write the files to the card\n"
           "  --json               one JSON object: {\"setup\": [...], \"time\": [...] or null,\n"
           "                       \"deletes_marker\": true|false}\n\n"
           "Exit status: 0 done, 1 a write failed, 2 wrong arguments or ROOT is not a folder.\n";
}

int usageError(CommandIo io, const QString& message)
{
    io.err << "zq481k-tool card-settings: " << message << '\n';
    return 2;
}

} // namespace

int runCardSettings(const QStringList& args, CommandIo io)
{
    QString root;
    QStringList sets;
    QString clock;
    bool write = false;
    bool json = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            printCardSettingsHelp(io.out);
            return 0;
        }
        if (arg == QLatin1String("--set") || arg == QLatin1String("--clock")) {
            if (i + 1 >= args.size())
                return usageError(io, arg + " needs a value");
            (arg == QLatin1String("--set") ? sets.append(args[++i]) : (void)(clock = args[++i]));
        } else if (arg == QLatin1String("--write")) {
            write = true;
        } else if (arg == QLatin1String("--json")) {
            json = true;
        } else if (arg.startsWith(QLatin1String("--"))) {
            printCardSettingsHelp(io.err);
            return usageError(io, QStringLiteral("unknown option \"%1\"").arg(arg));
        } else if (root.isEmpty()) {
            root = arg;
        } else {
            return usageError(io, QStringLiteral("only one ROOT can be given (\"%1\" is a second)").arg(arg));
        }
    }
    if (root.isEmpty()) {
        printCardSettingsHelp(io.err);
        return usageError(io, QStringLiteral("no ROOT given"));
    }
    if (!QFileInfo(root).isDir())
        return usageError(io, QStringLiteral("\"%1\" is not a folder").arg(root));

    // A freshly opened dialog on model entry 0; the option file is not touched.
    COptionFile options;
    options.m_model = 0;
    device::SettingModel model(options);
    device::CardDriveItem card;
    card.root = device::CardRootWithSlash(QDir(root).absolutePath());
    card.driveIndex = 0;
    model.Initialize({ card });
    model.SelectCard(0);

    for (const QString& set : sets) {
        const qsizetype equals = set.indexOf('=');
        if (equals <= 0)
            return usageError(io, QStringLiteral("--set takes \"LABEL=VALUE\", not \"%1\"").arg(set));
        QString error;
        if (!model.SetSetupField(set.left(equals), set.mid(equals + 1), &error))
            return usageError(io, error);
    }
    if (!clock.isEmpty()) {
        const QDateTime when = QDateTime::fromString(clock, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        QString error;
        if (!when.isValid())
            return usageError(
                io, QStringLiteral("--clock takes \"YYYY-MM-DD HH:MM:SS\", not \"%1\"").arg(clock));
        if (!model.SetClockTo(when, &error))
            return usageError(io, error);
    }

    const QStringList setup = model.SetupLines();
    const QStringList time = model.TimeLines();
    const bool deletesMarker = model.DeletesMarker();
    if (json) {
        QJsonObject object { { "setup", QJsonArray::fromStringList(setup) },
            { "time", model.clockBox ? QJsonValue(QJsonArray::fromStringList(time)) : QJsonValue() },
            { "deletes_marker", deletesMarker } };
        io.out << QJsonDocument(object).toJson(QJsonDocument::Indented);
    } else {
        io.out << "setup.cfg:\n";
        for (const QString& line : setup)
            io.out << line << '\n';
        if (model.clockBox) {
            io.out << "time.cfg:\n";
            for (const QString& line : time)
                io.out << line << '\n';
        } else {
            io.out << "time.cfg: not written (clock not set)\n";
        }
        io.out << "ZQ481K_FMT.BIN: " << (deletesMarker ? "deleted" : "kept") << '\n';
    }
    io.out.flush();

    if (write) {
        const device::CardWriteResult result = model.WriteCardFiles();
        if (!result.ok) {
            io.err << "zq481k-tool card-settings: " << result.file
                   << " could not be written: " << result.reason << '\n';
            return 1;
        }
    }
    return 0;
}

} // namespace zq::tool
