#include "CFormatDlg.h"

#include "TextLookup.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace zq::device {

CFormatDlg::CFormatDlg(
    QWidget* parent, platform::CardFormatService& service, const CardDriveItem& card, const QString& label)
    : QDialog(parent)
    , m_service(service)
    , m_card(card)
    , m_type(platform::CardFormatService::FileSystemFor(card.totalBytes))
{
    setWindowTitle(Text(152).isEmpty() ? QStringLiteral("Format") : Text(152));
    auto* form = new QFormLayout;
    form->addRow(
        QStringLiteral("Device:"), new QLabel(card.DisplayText() + QStringLiteral("  ") + card.device, this));
    form->addRow(QStringLiteral("Capacity:"),
        new QLabel(
            QLocale().formattedDataSize(qint64(card.totalBytes), 1, QLocale::DataSizeTraditionalFormat),
            this));
    form->addRow(QStringLiteral("File system:"),
        new QLabel(platform::CardFormatService::FileSystemDisplayName(m_type), this));
    m_label = new QLineEdit(label.left(MaxLabelLength(m_type)), this);
    m_label->setMaxLength(MaxLabelLength(m_type));
    form->addRow(QStringLiteral("Volume label:"), m_label);
    m_status = new QLabel(QStringLiteral("All data on the card will be erased."), this);
    m_status->setWordWrap(true);

    m_start = new QPushButton(QStringLiteral("Start"), this);
    m_cancel = new QPushButton(Text(143).isEmpty() ? QStringLiteral("Cancel") : Text(143), this);
    m_start->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_start);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_status);
    layout->addLayout(buttons);
    setMinimumWidth(380);

    connect(m_start, &QPushButton::clicked, this, &CFormatDlg::OnStart);
    connect(m_cancel, &QPushButton::clicked, this, &CFormatDlg::reject);
    connect(&m_service, &platform::CardFormatService::stepStarted, this, [this](const QString& step) {
        if (step == QLatin1String("unmount"))
            m_status->setText(QStringLiteral("Unmounting the card..."));
        else if (step == QLatin1String("format"))
            m_status->setText(QStringLiteral("Formatting the card..."));
        else
            m_status->setText(QStringLiteral("Mounting the card..."));
    });
    connect(&m_service, &platform::CardFormatService::finished, this, &CFormatDlg::OnFinished);
}

void CFormatDlg::OnStart()
{
    if (m_service.IsBusy())
        return;
    m_start->setEnabled(false);
    m_cancel->setEnabled(false);
    m_label->setEnabled(false);
    m_service.StartFormat(m_card.device, m_type, m_label->text());
}

void CFormatDlg::OnFinished(bool ok, const QString& mountRoot, const QString& error)
{
    m_result = ok ? platform::CardFormatService::Result::Done : platform::CardFormatService::Result::Error;
    m_mountRoot = mountRoot;
    m_error = error;
    QDialog::accept();
}

void CFormatDlg::reject()
{
    // A format under way cannot be stopped half-way; the dialog closes when it ends.
    if (m_service.IsBusy())
        return;
    m_result = platform::CardFormatService::Result::Cancelled;
    QDialog::reject();
}

} // namespace zq::device
