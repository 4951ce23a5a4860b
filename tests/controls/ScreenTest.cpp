#include "CRkScreenCtrl.h"
#include "CommandIds.h"
#include "Menu149.h"
#include "SkinTestImages.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <gtest/gtest.h>

namespace zq {
namespace {

using test::Grab;

QImage QuarterFrame(int width, int height)
{
    QImage frame(width, height, QImage::Format_RGB32);
    QPainter painter(&frame);
    painter.fillRect(0, 0, width / 2, height / 2, Qt::red);
    painter.fillRect(width / 2, height / 2, width - width / 2, height - height / 2, Qt::yellow);
    painter.fillRect(width / 2, 0, width - width / 2, height / 2, Qt::green);
    painter.fillRect(0, height / 2, width / 2, height - height / 2, Qt::blue);
    return frame;
}

TEST(ScreenCtrl, CreatedHiddenAndPaintsTheNewestFrameStretchedOverItsVideoRect)
{
    QWidget owner;
    CRkScreenCtrl screen;
    ASSERT_TRUE(screen.Create(&owner, 5000, 12, 50, 320, 180));
    owner.show();
    EXPECT_FALSE(screen.isVisible());
    EXPECT_EQ(screen.objectName(), QStringLiteral("RkScreenWnd"));
    EXPECT_EQ(screen.geometry(), QRect(12, 50, 320, 180));
    VideoSurface& surface = screen;
    surface.PresentFrame(QuarterFrame(64, 36));
    EXPECT_EQ(Grab(screen).pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(Grab(screen).pixel(317, 177), qRgb(255, 255, 0));

    surface.SetVideoRect(QRect(40, 20, 100, 60));
    surface.PresentFrame(QuarterFrame(1920, 1080));
    const QImage part = Grab(screen);
    EXPECT_EQ(part.pixel(41, 21), qRgb(255, 0, 0));
    EXPECT_EQ(part.pixel(138, 78), qRgb(255, 255, 0));
    EXPECT_EQ(part.pixel(39, 21), qRgb(0, 0, 0));
    EXPECT_EQ(part.pixel(141, 50), qRgb(0, 0, 0));
    surface.ClearFrame();
    EXPECT_EQ(Grab(screen).pixel(60, 40), qRgb(0, 0, 0));
}

TEST(ScreenCtrl, RightPressShowsTheLanguagesMenuWhoseCommandsReachTheOwner)
{
    test::MessageRecorder owner;
    CRkScreenCtrl screen;
    screen.Create(&owner, 5000, 0, 0, 200, 100);
    owner.show();
    screen.show();
    auto open = [&screen](int language) {
        screen.SetLanguage(language);
        test::SendMouse(screen, QEvent::MouseButtonPress, QPoint(20, 20), Qt::RightButton, Qt::RightButton);
        return qobject_cast<QMenu*>(QApplication::activePopupWidget());
    };
    QMenu* german = open(2);
    ASSERT_NE(german, nullptr);
    EXPECT_EQ(german->title(), QStringLiteral("MENU1"));
    german->actions().first()->trigger();
    german->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(owner.Commands(), QList<int> { kMenuOpen });

    QMenu* english = open(0);
    ASSERT_NE(english, nullptr);
    EXPECT_EQ(english->title(), QStringLiteral("MENU3"));
    english->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(open(12), nullptr);
    EXPECT_EQ(open(-1), nullptr);
}

// The main window behind a screen opens the same menu on a right press that reaches it.
class MenuOpeningOwner : public QWidget {
public:
    int rightPresses = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::RightButton) {
            ++rightPresses;
            ShowLanguageMenu(0, event->globalPosition().toPoint(), this);
        }
    }
};

int VisibleMenus()
{
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<QMenu*>(widget) && widget->isVisible())
            ++count;
    return count;
}

TEST(ScreenCtrl, RightPressOpensOneMenuAndEscapeLeavesNoneOpen)
{
    MenuOpeningOwner owner;
    CRkScreenCtrl screen;
    screen.Create(&owner, 5000, 0, 0, 200, 100);
    screen.SetLanguage(0);
    owner.show();
    screen.show();
    test::SendMouse(screen, QEvent::MouseButtonPress, QPoint(20, 20), Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(owner.rightPresses, 0) << "the press stops at the screen";
    EXPECT_EQ(VisibleMenus(), 1);
    QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(menu, &escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(VisibleMenus(), 0);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST(ScreenCtrl, ReportsItsDisplaySizeWhenShownResizedOrHiddenAndCopiesFramesOfThatSize)
{
    QWidget owner;
    CRkScreenCtrl screen;
    ASSERT_TRUE(screen.Create(&owner, 5000, 0, 0, 320, 180));
    owner.show();
    QList<QSize> reported;
    VideoSurface& surface = screen;
    surface.SetDisplaySizeListener(&reported, [&] { reported.append(surface.DisplaySize()); });
    EXPECT_EQ(surface.DisplaySize(), QSize()); // hidden: nothing to convert for it
    screen.show();
    ASSERT_FALSE(reported.isEmpty());
    EXPECT_EQ(reported.last(), QSize(320, 180) * screen.devicePixelRatio());
    // A video rectangle over the whole screen follows a resize; a smaller one stays.
    surface.SetVideoRect(surface.ClientRect());
    screen.resize(400, 226);
    EXPECT_EQ(reported.last(), QSize(400, 226) * screen.devicePixelRatio());
    surface.SetVideoRect(QRect(10, 10, 200, 112));
    EXPECT_EQ(reported.last(), QSize(200, 112) * screen.devicePixelRatio());
    screen.resize(500, 300);
    EXPECT_EQ(surface.DisplaySize(), QSize(200, 112) * screen.devicePixelRatio());
    screen.hide();
    EXPECT_EQ(reported.last(), QSize());
    surface.ClearDisplaySizeListener(&reported);
    screen.show();
    EXPECT_EQ(reported.last(), QSize()); // no listener any more

    // A frame of the rectangle's size is painted pixel for pixel, without smoothing.
    QImage frame(200, 112, QImage::Format_RGB32);
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x)
            frame.setPixel(x, y, (x + y) % 2 != 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 128));
    }
    surface.PresentFrame(frame);
    const QImage painted = Grab(screen).copy(10, 10, 200, 112).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(painted, frame);
}

} // namespace
} // namespace zq
