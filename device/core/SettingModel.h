#pragma once

#include "CardFiles.h"
#include "ChoiceList.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <functional>

namespace zq {
class COptionFile;
}

namespace zq::device {

/// One entry of the card list: a removable volume that may hold a recorder card.
struct CardDriveItem {
    QString root; // mount root, ending in "/"
    int driveIndex = -1; // position in the volume list
    QString label;
    QString device; // block device, e.g. "/dev/sdb1"
    QString fileSystem;
    quint64 totalBytes = 0;

    /// The list text: label, then the root in brackets.
    QString DisplayText() const { return label + '(' + root + ')'; }
};

/// The settings dialog without its window: every list, box and field the dialog shows, and the routines
/// that fill them from the card files and the option file and write them back. The dialog binds its
/// widgets to this state; `zq481k-tool card-settings` runs the same routines without a window.
class SettingModel {
public:
    explicit SettingModel(COptionFile& options);

    static constexpr int kAllocationUnread = 100;
    static constexpr int kYearFirst = 2011;
    static constexpr int kYearLast = 2030;
    static constexpr int kPlayValueDefault = 5;

    /// The local time the clock lists take when the clock box is ticked (tests pin it).
    void SetClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    /// What opening the dialog does: the fixed lists, the card list, the model lists for the option's
    /// model, the viewer options, the clock lists disabled, and the model defaults for model entry 0.
    void Initialize(const QVector<CardDriveItem>& cards);

    // Routines of the dialog, named as the dialog's handlers.
    void FillModelLists(int modelIndex);
    void ResetDeviceControls();
    void ApplyModelDefaults();
    void ApplyViewerDefaults();
    void OnDefaults();
    void OnCardSelChange();
    void OnModelSelChange(int index);
    void OnBattery(bool volt24);
    void FillCutOffList(bool volt24);
    void OnClockBox(bool ticked);
    void SetClockListsFromPc();
    void LoadViewerOptions();
    /// Stores the viewer options in the option file; true when the file was written. Reloads the string
    /// table when the language changed.
    bool SaveViewerOptions();

    /// Refills the card list (its selection is dropped; the stored card paths stay).
    void SetCards(const QVector<CardDriveItem>& cards);
    /// Selects a card entry (-1 for none) and reads its files, as a selection in the list does.
    void SelectCard(int index);
    bool HasCard() const { return cards.current >= 0 && cards.current < m_cardItems.size(); }
    const CardDriveItem* SelectedCard() const;
    const QVector<CardDriveItem>& CardItems() const { return m_cardItems; }

    // The card files.
    bool ReadSetupFile(const QString& path);
    void ApplySetupText(const QByteArray& bytes);
    bool ReadTimeFile(const QString& path);
    void ApplyTimeText(const QByteArray& bytes);
    /// The 25 lines confirming would write to setup.cfg (without line ends).
    QStringList SetupLines() const;
    /// The two lines of time.cfg, or none when the clock box is not ticked.
    QStringList TimeLines() const;
    /// Whether writing setup.cfg deletes the format marker (the allocation differs from the card's).
    bool DeletesMarker() const { return allocation.current != allocationOnCard; }
    CardWriteResult WriteSetupFile(const QString& path);
    CardWriteResult WriteTimeFile(const QString& path);
    /// The card part of OK: setup.cfg, then time.cfg, to the paths stored when the card was selected. Stops
    /// at the first failure.
    CardWriteResult WriteCardFiles();

    /// Changes one setup.cfg field, named by its label, to the value its line would hold, through the
    /// control that shows it. A value the dialog could not show is refused: false, and `error` names the
    /// field and the accepted values.
    bool SetSetupField(const QString& name, const QString& value, QString* error);
    /// Ticks the clock box and sets the clock lists to a date and time; false (with the reason) when the
    /// lists do not hold it.
    bool SetClockTo(const QDateTime& when, QString* error);

    // Device lists (the dialog's drop-down lists).
    ChoiceList models, cards, trigger, quality, channels, volume, cutOff, powerOff, allocation, screenOff,
        parking;
    ChoiceList year, month, day, hour, minute, second;
    bool recordAudio = false;
    bool speakerMute = false;
    bool nightVision = false;
    bool battery24V = false;
    bool clockBox = false;
    bool clockListsEnabled = false;
    bool modelControlsEnabled = true;

    // Viewer options.
    QString saveDirectory;
    int playValue = 0;
    bool rearMirror = false;
    int language = 0;
    bool speedInMiles = false;

    // Fields that are not controls.
    QString modelName;
    QString hwVersion = QStringLiteral("V1.00");
    QString swVersion = QStringLiteral("V1.00");
    QString cardProductName;
    int allocationOnCard = kAllocationUnread;
    bool skipViewerDefaults = false;
    std::array<int, 8> passThrough { 0, 0, 60, 60, 10, 0, 0, 0 };
    QString volumeLabel;
    QString setupPath;
    QString timePath;

private:
    ChoiceList* ClockList(int i);
    QVector<ChoiceList*> DeviceLists();

    COptionFile& m_options;
    QVector<CardDriveItem> m_cardItems;
    std::function<QDateTime()> m_clock;
};

/// The twelve languages in their own names, in the order of the language index.
QStringList LanguageNativeNames();

} // namespace zq::device
