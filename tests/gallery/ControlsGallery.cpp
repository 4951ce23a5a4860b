// Renders every skinned control in its states onto one picture for a person to look at, with the skin
// images compiled into the program.
#include "CFullDlg.h"
#include "CRkButtonCtrl.h"
#include "CRkListCtrl.h"
#include "CRkPanelCtrl.h"
#include "CRkScreenCtrl.h"
#include "CRkSimpleSliderCtrl.h"
#include "CRkSliderCtrl.h"
#include "CRkVolumeCtrl.h"
#include "CZoomDlg.h"
#include "CommandIds.h"
#include "Gallery.h"
#include "SeekTarget.h"
#include "SkinDraw.h"
#include "SkinTestImages.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <gtest/gtest.h>

namespace zq {
namespace {

using test::SendMouse;

void Caption(QWidget* sheet, const QString& text, int x, int y)
{
    auto* label = new QLabel(text, sheet);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, QColor(220, 220, 220));
    label->setPalette(colours);
    label->move(x, y);
    label->adjustSize();
}

CRkButtonCtrl* Button(QWidget* parent, int id, const QRect& at, std::initializer_list<int> images)
{
    auto* button = new CRkButtonCtrl(id, parent);
    button->setGeometry(at);
    const std::vector<int> slot(images);
    button->SetImages(slot[0], slot[1], slot[2], slot[3], slot.size() > 4 ? slot[4] : 0);
    button->Redraw();
    return button;
}

class SeekNowhere : public SeekTarget {
public:
    void SetPosition(qint64) override { }
    bool IsBusy() const override { return false; }
};

} // namespace

QImage RenderControlsGallery()
{
    QFont::insertSubstitution(QStringLiteral("돋움"), QStringLiteral("NanumGothic"));
    QWidget sheet;
    sheet.setAutoFillBackground(true);
    QPalette background = sheet.palette();
    background.setColor(QPalette::Window, QColor(10, 10, 10));
    sheet.setPalette(background);
    sheet.resize(980, 680);

    Caption(&sheet, "Play: normal, pressed, hover, disabled", 10, 10);
    std::vector<CRkButtonCtrl*> play;
    for (int state = 0; state < 4; ++state)
        play.push_back(
            Button(&sheet, kCmdPlay, QRect(10 + state * 44, 30, 32, 32), { 19191, 19192, 19193, 19194 }));
    SendMouse(*play[1], QEvent::MouseButtonPress, QPoint(10, 10));
    SendMouse(*play[2], QEvent::MouseMove, QPoint(10, 10), Qt::NoButton, Qt::NoButton);
    play[3]->SetButtonEnabled(false);
    play[3]->Redraw();
    Caption(&sheet, "Open (top bar): normal, video-only layout", 262, 10);
    QWidget videoOnly(&sheet);
    videoOnly.setGeometry(306, 30, 32, 31);
    for (CRkButtonCtrl* open : { Button(&sheet, kCmdOpen, QRect(262, 30, 32, 31), { 19101, 19102, 19103, 0 }),
             Button(&videoOnly, kCmdOpen, QRect(0, 0, 32, 31), { 19101, 19102, 19103, 0 }) }) {
        open->SetTopBarLook(true);
        open->SetTopBarLayout(open->parentWidget() == &sheet);
        open->Redraw();
    }
    Caption(&sheet, "Front: normal, selected;  category All: normal, selected, disabled", 540, 10);
    for (int i = 0; i < 2; ++i) {
        CRkButtonCtrl* front
            = Button(&sheet, kCmdChannelFront, QRect(540 + i * 50, 35, 43, 19), { 184, 0, 0, 0, 185 });
        front->SetSelected(i == 1);
        front->Redraw();
    }
    for (int i = 0; i < 3; ++i) {
        CRkButtonCtrl* all
            = Button(&sheet, kCmdCategoryAll, QRect(660 + i * 50, 33, 43, 23), { 172, 0, 0, 174, 173 });
        all->SetSelected(i == 1);
        all->SetButtonEnabled(i != 2);
        all->Redraw();
    }

    Caption(&sheet, "Speed slider at 0, 50, 100 (rate 0.1, 1.0, 2.0)", 10, 80);
    for (int i = 0; i < 3; ++i) {
        auto* slider = new CRkSimpleSliderCtrl(&sheet);
        slider->move(10 + i * 105, 100);
        slider->SetStandardSize();
        slider->setRange(0, 100);
        slider->setValue(i * 50);
        slider->SetImages(1040, 1042);
    }
    Caption(&sheet, "Volume at 0, 5, 10, and 7 shown muted", 340, 80);
    for (int i = 0; i < 4; ++i) {
        auto* volume = new CRkVolumeCtrl(&sheet);
        volume->setGeometry(340 + i * 90, 107, 80, 16);
        volume->SetLevel(i == 3 ? 7 : i * 5);
        if (i == 3)
            volume->DrawMuted();
    }
    Caption(&sheet, "Position slider at 0 %, 50 %, 100 % of 60 s", 10, 140);
    SeekNowhere seek;
    for (int i = 0; i < 3; ++i) {
        auto* position = new CRkSliderCtrl(&sheet);
        position->setGeometry(10, 160 + i * 34, 600, 30);
        position->SetImages(1034, 1036);
        position->SetSeekTarget(&seek);
        position->setRange(0, 60000);
        position->setValue(i * 30000);
    }

    Caption(&sheet, "Recording list: current row 2, selected row 4", 10, 270);
    auto* list = new CRkListCtrl(&sheet);
    list->setGeometry(10, 290, 262, 200);
    list->InitList();
    list->setHeaderLabels({ "No", "Date", "Time", "Category", QString(), QString() });
    const char* categories[] = { "Infinite", "Event", "Parking" };
    for (int row = 0; row < 30; ++row) {
        list->InsertItem(row, QString::number(row + 1));
        list->SetItemText(row, 1, QStringLiteral("2024-05-%1").arg(row % 28 + 1, 2, 10, QLatin1Char('0')));
        list->SetItemText(row, 2, QStringLiteral("12:%1:00").arg(row * 2 % 60, 2, 10, QLatin1Char('0')));
        list->SetItemText(row, 3, QString::fromLatin1(categories[row % 3]));
    }
    list->SetCurrentRow(1);
    list->SelectRow(3);
    list->scrollToTop();

    Caption(&sheet, "Screens: whole area, inner video rectangle; panel with a button", 320, 270);
    QImage frame(320, 180, QImage::Format_RGB32);
    {
        QPainter painter(&frame);
        QLinearGradient road(0, 0, 320, 180);
        road.setColorAt(0, QColor(40, 90, 160));
        road.setColorAt(1, QColor(200, 160, 60));
        painter.fillRect(frame.rect(), road);
        painter.setPen(QPen(Qt::white, 4));
        painter.drawLine(160, 180, 160, 90);
    }
    for (int i = 0; i < 2; ++i) {
        auto* screen = new CRkScreenCtrl(&sheet);
        screen->setGeometry(320 + i * 250, 290, 240, 135);
        if (i == 1)
            screen->SetVideoRect(QRect(30, 17, 180, 101));
        screen->PresentFrame(frame);
    }
    auto* panel = new CRkPanelCtrl(&sheet);
    panel->setGeometry(820, 290, 150, 135);
    Button(panel, kCmdMap, QRect(59, 51, 32, 32), { 19251, 19252, 0, 19253 });

    Caption(&sheet, "Zoom x3 beside its own window (grey); the full-screen window's colour", 320, 440);
    QImage desktop(800, 600, QImage::Format_RGB32);
    desktop.fill(QColor(20, 40, 60));
    QPainter(&desktop).fillRect(QRect(100, 100, 60, 40), QColor(220, 60, 60));
    auto* zoom = new QLabel(&sheet);
    zoom->setPixmap(QPixmap::fromImage(CZoomDlg::Magnify(desktop, desktop.rect(), QRect(170, 0, 400, 600),
        QPoint(150, 130), QSize(240, 180), CZoomDlg::kZoomFactor)));
    zoom->setGeometry(320, 460, 240, 180);
    CFullDlg full;
    auto* fullColour = new QLabel(&sheet);
    fullColour->setPixmap(full.grab(QRect(0, 0, 100, 60)));
    fullColour->setFrameStyle(QFrame::Box | QFrame::Plain);
    QPalette frameColour = fullColour->palette();
    frameColour.setColor(QPalette::WindowText, QColor(100, 100, 100));
    fullColour->setPalette(frameColour);
    fullColour->setGeometry(580, 460, 102, 62);

    sheet.show();
    QCoreApplication::processEvents();
    const QImage picture = sheet.grab().toImage().convertToFormat(QImage::Format_RGB32);
    // The states must look different: each Play state from normal, a selected Front from a normal one.
    for (int state = 1; state < 4; ++state)
        EXPECT_NE(picture.copy(10 + state * 44, 30, 32, 32), picture.copy(10, 30, 32, 32)) << state;
    EXPECT_NE(picture.copy(540, 35, 43, 19), picture.copy(590, 35, 43, 19));
    return picture;
}

} // namespace zq
