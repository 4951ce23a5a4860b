#include "SettingCommand.h"

#include "CCorvaneDlg.h"
#include "CRkListCtrl.h"
#include "CSettingDlg.h"
#include "OptionFile.h"
#include "PlayState.h"

namespace zq {

SettingCommand::SettingCommand(CCorvaneDlg& window)
    : m_window(window)
{
}

bool SettingCommand::Run()
{
    Player& player = m_window.GetPlayer();
    const bool wasPlaying = player.GetState() == PlayState::kRunning;
    if (wasPlaying)
        m_window.PausePlayback();

    bool confirmed = false;
    bool sourceReset = false;
    {
        device::CSettingDlg dialog(&m_window, TheOptionFile(), m_window.SourceRoot());
        dialog.setObjectName(QStringLiteral("settingDialog"));
        // A recording open from the card keeps its files busy: the card could not be unmounted for a format.
        QObject::connect(&dialog, &device::CSettingDlg::releaseSource, &m_window, [this] {
            if (m_window.GetPlayer().GetState() == PlayState::kRunning
                || m_window.GetPlayer().GetState() == PlayState::kPaused)
                m_window.CloseRecording(true);
        });
        confirmed = dialog.exec() == QDialog::Accepted;
        sourceReset = dialog.SourceReset();
    }
    if (confirmed)
        ApplyConfirmed();
    // The card the list came from was formatted (whether or not the dialog was confirmed afterwards): its
    // rows point at files that are gone.
    if (sourceReset)
        m_window.ResetSource();

    // The recording may have been closed meanwhile (card removed, card formatted): only a paused one resumes.
    if (wasPlaying && m_window.Children().list->GetItemCount() > 0 && player.GetState() == PlayState::kPaused)
        m_window.StartPlayback();
    return confirmed;
}

void SettingCommand::ApplyConfirmed()
{
    Player& player = m_window.GetPlayer();
    const qint32 state = player.GetState();
    if (state != PlayState::kStopped && state != PlayState::kCreated && state != PlayState::kNoEngine
        && player.GetChannelCount() == 2)
        player.SetMirror(1, TheOptionFile().m_rearMirror);
    m_window.ApplyLanguage(TheOptionFile().m_language);
}

} // namespace zq
