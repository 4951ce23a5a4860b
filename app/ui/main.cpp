#include "CCorvaneApp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    zq::CCorvaneApp::PrepareEnvironment();
    QApplication app(argc, argv);
    QStringList paths = QCoreApplication::arguments();
    paths.removeFirst();
    return zq::CCorvaneApp::InitInstance(paths);
}
