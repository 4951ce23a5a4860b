#include "PrintCommand.h"

#include "CCorvaneDlg.h"
#include "CMapViewWnd.h"
#include "OptionFile.h"
#include "PlayState.h"
#include "ReportDocument.h"
#include "ReportValues.h"
#include "SensorArrays.h"

#include <QMessageBox>

namespace zq {

PrintCommand::PrintCommand(CCorvaneDlg& window)
    : m_window(window)
{
}

ReportInput PrintCommand::Collect(Player& player)
{
    ReportInput input;
    input.channelCount = player.GetChannelCount();
    player.CaptureFrame(0, &input.frontFrame);
    if (input.channelCount == 2)
        player.CaptureFrame(1, &input.rearFrame);
    input.values = ReportValuesAt(SensorSnapshot(), player.GetPositionMs(), player.GetDurationMs());
    input.model = TheOptionFile().m_model;
    input.texts = ReportTexts::FromLanguageLibrary();
    // The map view may not exist (no map page) or be hidden (no GPS, offline): then there is no picture.
    CMapViewWnd* view = CMapViewWnd::Instance();
    if (view && view->isVisible() && input.values.HasPosition())
        input.mapPicture = view->grab().toImage();
    return input;
}

PrintCommand::Result PrintCommand::Run()
{
    Player& player = m_window.GetPlayer();
    const qint32 state = player.GetState();
    if (state != PlayState::kRunning && state != PlayState::kPaused)
        return Result::NotAllowed;
    if (state == PlayState::kRunning)
        m_window.PausePlayback();

    QString error;
    const PrintOutcome outcome = PrintWithDialog(
        &m_window, [&player] { return Collect(player); }, &error);
    if (outcome == PrintOutcome::Cancelled)
        return Result::Cancelled;
    if (outcome == PrintOutcome::Printed)
        return Result::Printed;
    // A report that was not printed is never passed over in silence.
    QMessageBox box(QMessageBox::Warning, m_window.windowTitle(),
        QStringLiteral("The report could not be printed: %1.").arg(error), QMessageBox::Ok, &m_window);
    box.setObjectName(QStringLiteral("printFailed"));
    box.exec();
    return Result::Failed;
}

} // namespace zq
