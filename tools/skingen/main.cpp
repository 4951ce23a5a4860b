// zq-skingen: draws every skin image of the viewer and writes them with their resource list.
//   zq-skingen --lang <folder of .lng tables> --out <folder> [--sheet <contact-sheet.png>]
#include "ContactSheet.h"
#include "SkinGenerator.h"
#include "SkinTexts.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    // The generator runs in the build, where there is no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Draws the skin images of the ZQ481K viewer."));
    parser.addHelpOption();
    const QCommandLineOption langOption(
        QStringLiteral("lang"), QStringLiteral("Folder of the string tables."), QStringLiteral("folder"));
    const QCommandLineOption outOption(
        QStringLiteral("out"), QStringLiteral("Output folder."), QStringLiteral("folder"));
    const QCommandLineOption sheetOption(
        QStringLiteral("sheet"), QStringLiteral("Contact sheet to write."), QStringLiteral("png"));
    parser.addOptions({ langOption, outOption, sheetOption });
    parser.process(app);
    if (!parser.isSet(outOption)) {
        std::fprintf(stderr, "zq-skingen: --out is required\n");
        return 2;
    }

    zq::skin::SkinTexts texts;
    if (parser.isSet(langOption))
        texts.Load(parser.value(langOption));
    const zq::skin::SkinGenerator generator(texts);
    const auto images = generator.RenderAll();
    QString error;
    if (!zq::skin::SkinGenerator::Write(images, parser.value(outOption), &error)) {
        std::fprintf(stderr, "zq-skingen: %s\n", qPrintable(error));
        return 1;
    }
    if (parser.isSet(sheetOption)
        && !zq::skin::ContactSheet::Build(images).save(parser.value(sheetOption), "PNG")) {
        std::fprintf(stderr, "zq-skingen: cannot write %s\n", qPrintable(parser.value(sheetOption)));
        return 1;
    }
    std::printf("zq-skingen: %zu images, %d of 12 string tables", images.size(), texts.LoadedCount());
    if (!texts.Fallbacks().isEmpty())
        std::printf(
            ", %lld texts fell back to English or a placeholder", qlonglong(texts.Fallbacks().size()));
    std::printf("\n");
    return 0;
}
