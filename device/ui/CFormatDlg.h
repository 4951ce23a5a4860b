#pragma once

#include "CardFormatService.h"
#include "SettingModel.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zq::device {

/// Asks how to format a card and runs the format: device, capacity, file system (FAT32 up to 32 GiB, exFAT
/// above) and the volume label, pre-filled with the model name; Start and Cancel. The result is done,
/// cancelled or error, and the card's new mount root when it was mounted again.
class CFormatDlg : public QDialog {
    Q_OBJECT
public:
    CFormatDlg(QWidget* parent, platform::CardFormatService& service, const CardDriveItem& card,
        const QString& label);

    platform::CardFormatService::Result FormatResult() const { return m_result; }
    QString MountRoot() const { return m_mountRoot; }
    QString ErrorText() const { return m_error; }

    QLineEdit* LabelEdit() const { return m_label; }
    QPushButton* StartButton() const { return m_start; }
    QPushButton* CancelButton() const { return m_cancel; }

    /// FAT volume labels take at most 11 characters, exFAT labels 15.
    static int MaxLabelLength(const QString& type) { return type == QLatin1String("vfat") ? 11 : 15; }

    void OnStart();
    void reject() override;

private:
    void OnFinished(bool ok, const QString& mountRoot, const QString& error);

    platform::CardFormatService& m_service;
    CardDriveItem m_card;
    QString m_type;
    platform::CardFormatService::Result m_result = platform::CardFormatService::Result::Cancelled;
    QString m_mountRoot;
    QString m_error;
    QLineEdit* m_label = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace zq::device
