#include "CAboutDlg.h"

#include "CRkButtonCtrl.h"
#include "CRkTextCtrl.h"
#include "SkinDraw.h"
#include "SkinImageTable.h"
#include "TextLookup.h"
#include "WindowMessageEvent.h"

#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>

namespace zq {

namespace {

constexpr QSize kBoxSize(291, 160);
constexpr QRect kTitleRect(0, 0, 291, 28);
constexpr QRect kTitleTextRect(30, 50, 230, 20);
constexpr QRect kVersionTextRect(30, 80, 200, 20);
constexpr QRect kSecondButtonRect(105, 118, 83, 32);
constexpr QRect kOkButtonRect(198, 118, 83, 32);
const QColor kBackground(10, 10, 10);

} // namespace

CAboutDlg::LanguageImages CAboutDlg::ImagesForLanguage(int language)
{
    // The skin's per-language table knows every language's about-box images by their English ones.
    return { LanguageImageId(kAboutTitleEnglish, language), LanguageImageId(kAboutOkNormalEnglish, language),
        LanguageImageId(kAboutOkPressedEnglish, language) };
}

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , m_title(new QLabel(this))
    , m_ok(new CRkButtonCtrl(kIdOk, this))
    , m_second(new CRkButtonCtrl(kIdSecondButton, this))
    , m_titleText(new CRkTextCtrl)
    , m_versionText(new CRkTextCtrl)
{
    m_title->setObjectName(QStringLiteral("picture%1").arg(kIdTitlePicture));
    m_titleText->Create(this, kIdTitleText, kTitleTextRect.x(), kTitleTextRect.y(), kTitleTextRect.width(),
        kTitleTextRect.height());
    m_versionText->Create(this, kIdVersionText, kVersionTextRect.x(), kVersionTextRect.y(),
        kVersionTextRect.width(), kVersionTextRect.height());
}

void CAboutDlg::InitDialog()
{
    m_initialised = true;
    setFixedSize(kBoxSize);
    if (const QWidget* owner = parentWidget()) {
        const QRect area = owner->window()->geometry();
        move(area.x() + (area.width() - kBoxSize.width()) / 2,
            area.y() + (area.height() - kBoxSize.height()) / 2);
    }

    const LanguageImages images = ImagesForLanguage(m_language);
    m_title->setGeometry(kTitleRect);
    const QImage title = LoadSkinBitmap(images.title);
    m_title->setPixmap(title.isNull() ? QPixmap() : QPixmap::fromImage(title));
    m_ok->SetImages(images.okNormal, images.okPressed, 0, 0);
    m_ok->setGeometry(kOkButtonRect);
    m_ok->Redraw();

    m_second->SetImages(kSecondButtonNormalImage, kSecondButtonPressedImage, 0, 0);
    m_second->setGeometry(kSecondButtonRect);
    m_second->Redraw();
    m_second->hide();

    for (CRkTextCtrl* text : { m_titleText, m_versionText }) {
        text->SetBackground(kBackground);
        text->SetLabels(CRkTextCtrl::LanguageLabels());
    }
    m_titleText->SetKind(CRkTextCtrl::kKindAboutTitle);
    m_versionText->SetKind(CRkTextCtrl::kKindAboutVersion);
}

bool CAboutDlg::event(QEvent* event)
{
    if (WindowMessageEvent::MessageOf(event) == kMsgCommand) {
        const int id = static_cast<WindowMessageEvent*>(event)->CommandId();
        if (id == kIdOk)
            accept();
        else if (id == kIdSecondButton)
            OnSecondButton();
        return true;
    }
    return QDialog::event(event);
}

void CAboutDlg::showEvent(QShowEvent* event)
{
    if (!m_initialised)
        InitDialog();
    QDialog::showEvent(event);
}

void CAboutDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
}

void CAboutDlg::OnSecondButton()
{
    QString text;
    if (m_recordingCount == 0 && LookupText(kNoRecordingsText, &text))
        QMessageBox::information(this, windowTitle(), text);
}

} // namespace zq
