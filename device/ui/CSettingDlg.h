#pragma once

#include "SettingModel.h"

#include <QDialog>
#include <QVector>
#include <utility>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

namespace zq {
class COptionFile;
}

namespace zq::platform {
class CardFormatService;
class VolumeMonitor;
} // namespace zq::platform

namespace zq::device {

/// The settings dialog: the recorder's settings on a chosen card, the viewer's own options, and the card
/// format. The main window runs it with exec(); after Accepted the option object holds the new viewer
/// options (save folder, skip interval, rear mirror, language, speed unit), already written to the option
/// file. LanguageChanged() says whether the texts must be reloaded; SourceReset() (and the signal
/// resetSource) that the card the main window had loaded was formatted.
class CSettingDlg : public QDialog {
    Q_OBJECT
public:
    /// `currentSourceRoot` is the mount root of the card the main window has loaded ("" when none).
    CSettingDlg(QWidget* parent, COptionFile& options, QString currentSourceRoot);
    ~CSettingDlg() override;

    static constexpr int kWidth = 900;
    static constexpr int kHeight = 650;
    static constexpr int kFontPixels = 11;
    static constexpr int kTwoLinePixels = 28;
    static constexpr int kCardListPopupWidth = 320;

    bool LanguageChanged() const { return m_languageChanged; }
    bool SourceReset() const { return m_sourceReset; }

    /// The model the controls show (tests and the main window read it).
    SettingModel& Model() { return m_model; }
    /// The control with a dialog identifier (1028 card list, 1029 format, 1 OK, ...); null when none.
    QWidget* Control(int id) const;

    // Handlers, public so that tests can drive the dialog exactly as the buttons do.
    void OnFormatCard();
    void OnBrowseFolder();
    void OnDefaults();
    void OnCardSelChange(int index);
    void OnModelSelChange(int index);
    void OnClockBox(bool ticked);
    void FillDriveList();
    void accept() override;

signals:
    /// The card the main window had loaded was formatted: its list must be reset.
    void resetSource();
    /// The card the main window had loaded is about to be formatted: a recording open from it must be
    /// closed first, or the card cannot be unmounted.
    void releaseSource();

private:
    void CreateControls();
    void LayoutControls();
    void SyncFromModel();
    QComboBox* AddList(int id, ChoiceList* list);
    template <typename T> T* Add(int id, T* widget);

    COptionFile& m_options;
    SettingModel m_model;
    QString m_currentSourceRoot;
    platform::CardFormatService* m_formatService = nullptr;
    platform::VolumeMonitor* m_volumeMonitor = nullptr;
    bool m_languageChanged = false;
    bool m_sourceReset = false;
    bool m_syncing = false;

    QVector<std::pair<int, QWidget*>> m_controls;
    QVector<std::pair<QComboBox*, ChoiceList*>> m_lists;
    QComboBox* m_cardList = nullptr;
    QComboBox* m_modelList = nullptr;
    QComboBox* m_languageList = nullptr;
    QCheckBox* m_recordAudio = nullptr;
    QCheckBox* m_speakerMute = nullptr;
    QCheckBox* m_nightVision = nullptr;
    QCheckBox* m_clockBox = nullptr;
    QCheckBox* m_rearMirror = nullptr;
    QRadioButton* m_volt12 = nullptr;
    QRadioButton* m_volt24 = nullptr;
    QRadioButton* m_kmh = nullptr;
    QRadioButton* m_mph = nullptr;
    QLineEdit* m_saveFolder = nullptr;
    QLabel* m_playValueText = nullptr;
    QSlider* m_playValue = nullptr;
};

} // namespace zq::device
