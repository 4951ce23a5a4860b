#include "CCorvaneApp.h"

#include "CCorvaneDlg.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QToolTip>
#include <gst/gst.h>
#include <unistd.h>

namespace zq {

void CCorvaneApp::PrepareEnvironment()
{
    // Chromium (the map page) refuses to run as root with its sandbox on.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The map's web view shares its drawing context with the window; Qt wants this before the application.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

int CCorvaneApp::InitInstance(const QStringList& paths)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Corvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Corvane"));
    // The skin's owner-drawn texts name the Korean system face; NanumGothic draws its Hangul in one face.
    QFont::insertSubstitution(QStringLiteral("돋움"), QStringLiteral("NanumGothic"));
    gst_init(nullptr, nullptr);
    // Tool tips are black on white, whatever the desktop's theme.
    QPalette tips = QToolTip::palette();
    tips.setColor(QPalette::ToolTipBase, Qt::white);
    tips.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tips);

    QStringList absolute;
    for (const QString& path : paths)
        absolute << QFileInfo(path).absoluteFilePath();
    {
        CCorvaneDlg dialog;
        dialog.SetStartupPaths(absolute);
        dialog.exec();
    }
    return 0;
}

} // namespace zq
