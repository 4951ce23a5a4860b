#include "CFileLoadDlg.h"

#include "CRkTextCtrl.h"
#include "TextLookup.h"

#include <QApplication>
#include <QTimerEvent>

namespace zq {

namespace {
constexpr int kHeight = 100;
constexpr int kTextTop = 10;
constexpr int kTextHeight = 80;
const QColor kBackground(10, 10, 10);
} // namespace

CFileLoadDlg::CFileLoadDlg(QWidget* parent)
    : QDialog(parent)
    , m_text(new CRkTextCtrl)
{
    setObjectName(QStringLiteral("fileLoadDialog"));
    m_text->Create(this, kTextId, 0, kTextTop, 300, kTextHeight);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kBackground);
    setPalette(palette);
    setAutoFillBackground(true);
}

int CFileLoadDlg::WidthForLanguage(int language)
{
    if (language == 0)
        return 350;
    if (language == 6)
        return 400;
    return 300;
}

int CFileLoadDlg::DelayForMode(int mode)
{
    return mode == kModeNotice ? kNoticeMs : kLoadingMs;
}

void CFileLoadDlg::Prepare()
{
    const int width = WidthForLanguage(m_language);
    setFixedSize(width, kHeight);
    if (const QWidget* owner = parentWidget()) {
        const QRect area = owner->window()->geometry();
        move(area.x() + (area.width() - width) / 2, area.y() + (area.height() - kHeight) / 2);
    }
    m_text->setGeometry(0, kTextTop, width, kTextHeight);
    m_text->SetBackground(kBackground);
    m_text->SetLabels(CRkTextCtrl::LanguageLabels());
    const bool notice = m_mode == kModeNotice;
    setWindowTitle(zq::Text(notice ? kNoticeTitleText : kLoadingTitleText));
    m_text->SetKind(notice ? CRkTextCtrl::kKindLoadingNotice : CRkTextCtrl::kKindLoadingSearch);
    if (m_timer)
        killTimer(m_timer);
    // A coarse timer may fire 5 % early; the notice promises its full five seconds.
    m_timer = startTimer(DelayForMode(m_mode), Qt::PreciseTimer);
}

void CFileLoadDlg::showEvent(QShowEvent* event)
{
    Prepare();
    QDialog::showEvent(event);
}

void CFileLoadDlg::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_timer) {
        QDialog::timerEvent(event);
        return;
    }
    killTimer(m_timer);
    m_timer = 0;
    if ((m_mode == kModeOpened || m_mode == kModeDropped) && m_fill) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_fill();
        QApplication::restoreOverrideCursor();
    }
    accept();
}

} // namespace zq
