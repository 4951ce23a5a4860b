#include "CSettingDlg.h"

#include "CFormatDlg.h"
#include "CardBackup.h"
#include "CardFormatService.h"
#include "OptionFile.h"
#include "TextLookup.h"
#include "VolumeMonitor.h"
#include "Volumes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>

namespace zq::device {

namespace {

// Cards of 100 GiB and more are never listed: the recorder takes none that large.
constexpr quint64 kMaxCardGiB = 100;

} // namespace

CSettingDlg::CSettingDlg(QWidget* parent, COptionFile& options, QString currentSourceRoot)
    : QDialog(parent)
    , m_options(options)
    , m_model(options)
    , m_currentSourceRoot(std::move(currentSourceRoot))
    , m_formatService(new platform::CardFormatService(this))
    , m_volumeMonitor(new platform::VolumeMonitor(this))
{
    CreateControls();
    LayoutControls();
    m_model.Initialize({});
    FillDriveList();
    SyncFromModel();

    connect(m_volumeMonitor, &platform::VolumeMonitor::volumeAdded, this, &CSettingDlg::FillDriveList);
    connect(m_volumeMonitor, &platform::VolumeMonitor::volumeRemoved, this, &CSettingDlg::FillDriveList);
    m_volumeMonitor->Start();
}

CSettingDlg::~CSettingDlg() = default;

QWidget* CSettingDlg::Control(int id) const
{
    for (const auto& [controlId, widget] : m_controls) {
        if (controlId == id)
            return widget;
    }
    return nullptr;
}

void CSettingDlg::SyncFromModel()
{
    m_syncing = true;
    for (const auto& [combo, list] : m_lists) {
        combo->clear();
        combo->addItems(list->items);
        combo->setCurrentIndex(list->current);
    }
    m_cardList->clear();
    m_cardList->addItems(m_model.cards.items);
    m_cardList->setCurrentIndex(m_model.cards.current);
    m_modelList->clear();
    m_modelList->addItems(m_model.models.items);
    m_modelList->setCurrentIndex(m_model.models.current);

    m_recordAudio->setChecked(m_model.recordAudio);
    m_speakerMute->setChecked(m_model.speakerMute);
    m_nightVision->setChecked(m_model.nightVision);
    m_clockBox->setChecked(m_model.clockBox);
    m_volt24->setChecked(m_model.battery24V);
    m_volt12->setChecked(!m_model.battery24V);
    for (int id : { 1045, 1047, 1048, 1049, 1050, 1051 })
        Control(id)->setEnabled(m_model.clockListsEnabled);
    // The controls of the model's own features; the parking frame stays dimmed while its list works.
    for (int id : { 1124, 1125, 1133, 1126, 1123, 1066, 1080, 1081, 1038, 1068, 1084, 1101, 1042, 1069, 1037,
             1085, 1041, 1039, 1076, 1030 })
        Control(id)->setEnabled(m_model.modelControlsEnabled);
    Control(1063)->setEnabled(false);

    if (m_saveFolder->text() != m_model.saveDirectory)
        m_saveFolder->setText(m_model.saveDirectory);
    m_playValue->setValue(m_model.playValue);
    m_playValueText->setText(QString::number(m_model.playValue));
    m_rearMirror->setChecked(m_model.rearMirror);
    m_languageList->setCurrentIndex(m_model.language);
    m_mph->setChecked(m_model.speedInMiles);
    m_kmh->setChecked(!m_model.speedInMiles);
    m_syncing = false;
}

void CSettingDlg::FillDriveList()
{
    QVector<CardDriveItem> items;
    const QVector<platform::Volume> volumes = platform::Volumes::Removable();
    for (int i = 0; i < volumes.size(); ++i) {
        const platform::Volume& volume = volumes[i];
        const quint64 capacity = CardCapacity(volume);
        if (!volume.mediumPresent || capacity == 0 || (capacity >> 30) >= kMaxCardGiB)
            continue;
        if (!m_formatService->CanFormat(volume.device, platform::CardFormatService::FileSystemFor(capacity)))
            continue;
        items.append({ volume.root, i, volume.label, volume.device, volume.fileSystem, capacity });
    }
    m_model.SetCards(items);
    SyncFromModel();
}

void CSettingDlg::OnCardSelChange(int index)
{
    m_model.SelectCard(index);
    SyncFromModel();
}

void CSettingDlg::OnModelSelChange(int index)
{
    m_model.OnModelSelChange(index);
    SyncFromModel();
}

void CSettingDlg::OnClockBox(bool ticked)
{
    m_model.OnClockBox(ticked);
    SyncFromModel();
}

void CSettingDlg::OnDefaults()
{
    m_model.OnDefaults();
    SyncFromModel();
}

void CSettingDlg::OnBrowseFolder()
{
    const QString folder
        = QFileDialog::getExistingDirectory(nullptr, QString(), QString(), QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return;
    m_model.saveDirectory = folder;
    SyncFromModel();
}

void CSettingDlg::accept()
{
    m_model.saveDirectory = m_saveFolder->text();
    if (!m_model.HasCard()) {
        QString text;
        if (LookupText(213, &text)
            && QMessageBox::question(
                   this, Text(106), text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok)
                != QMessageBox::Ok)
            return;
    } else {
        const CardWriteResult result = m_model.WriteCardFiles();
        if (!result.ok) {
            QMessageBox::warning(this, Text(106),
                QStringLiteral("%1 could not be written on the card:\n%2").arg(result.file, result.reason));
            return;
        }
    }
    const int oldLanguage = m_options.m_language;
    m_model.SaveViewerOptions();
    m_languageChanged = m_options.m_language != oldLanguage;
    QDialog::accept();
}

void CSettingDlg::OnFormatCard()
{
    const CardDriveItem* selected = m_model.SelectedCard();
    if (!selected)
        return;
    const CardDriveItem card = *selected;
    QString question;
    if (LookupText(235, &question)
        && QMessageBox::question(
               this, Text(152), question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes)
        return;
    const bool loadedCard
        = !m_currentSourceRoot.isEmpty() && platform::SameRoot(card.root, m_currentSourceRoot);
    if (loadedCard)
        emit releaseSource();

    // Nothing of the recorder's own files may be lost: copied and verified first, or no format at all.
    CardBackup backup;
    QString error;
    if (!backup.Create(card.root, CardBackup::DefaultBaseFolder(), &error)) {
        QMessageBox::warning(this, Text(152),
            QStringLiteral("The card was not formatted: its files could not be backed up.\n%1").arg(error));
        return;
    }

    CFormatDlg format(this, *m_formatService, card, m_model.volumeLabel);
    format.exec();
    const platform::CardFormatService::Result result = format.FormatResult();

    // The backup goes back whatever the outcome: after a cancel the files are simply rewritten.
    const QString root = format.MountRoot().isEmpty() ? card.root : format.MountRoot();
    if (!backup.Restore(root, &error))
        QMessageBox::warning(this, Text(152), error);

    if (result == platform::CardFormatService::Result::Error && !format.ErrorText().isEmpty())
        QMessageBox::warning(this, Text(152), format.ErrorText());

    // The loaded card's recordings are gone (or out of reach after a failed format): the main window must
    // drop its list.
    if (loadedCard) {
        m_sourceReset = true;
        emit resetSource();
    }
    FillDriveList();
}

} // namespace zq::device
