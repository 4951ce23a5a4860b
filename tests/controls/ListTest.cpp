#include "CRkListCtrl.h"
#include "CSkinHeaderCtrl.h"
#include "SkinTestImages.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace zq {
namespace {

using test::ColourForId;
using test::Grab;
using test::SendMouse;

constexpr int kListHeight = 200;

/// A list of 262 × 200 pixels on an owner window, like the main window's. With 40 rows of 17 pixels under
/// the 20-pixel header, 10 whole rows are in view: 30 lines to scroll over a travel of 200 − 90 pixels.
class ListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int id : { 162, 163, 165, 166, 167 })
            ASSERT_TRUE(m_skin.AddBitmap(id, 18, 18));
        ASSERT_TRUE(m_skin.AddBitmap(164, 12, 1));
        m_list->setGeometry(10, 10, 262, kListHeight);
        m_list->InitList();
        m_owner.show();
    }
    void FillRows(int rows)
    {
        for (int row = 0; row < rows; ++row) {
            m_list->InsertItem(row, QString::number(row + 1));
            m_list->SetItemText(row, 3, QString(8, QChar(0x2588))); // full blocks show the pen colour
            m_list->SetItemText(row, CRkListCtrl::kFileNameColumn, QStringLiteral("row%1.AVI").arg(row));
        }
        QCoreApplication::processEvents();
    }
    // Whether a row shows the colour anywhere, or (background) in the margin left of column 0.
    bool RowHas(int row, QRgb colour, bool background = false)
    {
        const QImage picture = Grab(*m_list);
        const QRect area = m_list->visualRect(m_list->model()->index(row, 0));
        const int top = m_list->viewport()->mapTo(m_list, area.topLeft()).y();
        if (background)
            return picture.pixel(2, top + area.height() / 2) == colour;
        for (int y = top; y < top + area.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (picture.pixel(x, y) == colour)
                    return true;
        return false;
    }
    int Position() { return m_list->verticalScrollBar()->value(); }
    CSkinVerticleScrollbar& Bar() { return *m_list->ScrollBar(); }

    test::ScopedSkinFolder m_skin;
    QWidget m_owner;
    CRkListCtrl* m_list = new CRkListCtrl(&m_owner);
};

TEST_F(ListTest, RowColoursForCurrentSelectedEvenAndOddRows)
{
    FillRows(5);
    m_list->SetCurrentRow(1);
    m_list->SelectRow(2);
    EXPECT_TRUE(RowHas(0, qRgb(70, 70, 70), true));
    EXPECT_TRUE(RowHas(1, qRgb(0, 128, 128), true));
    EXPECT_TRUE(RowHas(2, qRgb(128, 128, 0), true));
    EXPECT_TRUE(RowHas(3, qRgb(50, 50, 50), true));
    EXPECT_TRUE(RowHas(1, qRgb(200, 200, 200)));
    EXPECT_TRUE(RowHas(2, qRgb(20, 20, 20)));
    EXPECT_TRUE(RowHas(3, qRgb(180, 180, 180)));
    EXPECT_FALSE(RowHas(3, qRgb(200, 200, 200)));
    m_list->SelectRow(1); // the current row wins over the selection
    EXPECT_TRUE(RowHas(1, qRgb(0, 128, 128), true));
    EXPECT_TRUE(RowHas(2, qRgb(70, 70, 70), true));
    EXPECT_EQ(Grab(*m_list).pixel(100, kListHeight - 3), qRgb(10, 10, 10));
    EXPECT_EQ(Grab(*m_list->HeaderCtrl()).pixel(1, 1), qRgb(30, 30, 30));
}

TEST_F(ListTest, CurrentRowOnlyForValidRowsAndItsName)
{
    m_list->SetCurrentRow(0);
    EXPECT_EQ(m_list->CurrentRow(), -1); // the list is empty
    FillRows(3);
    m_list->SetCurrentRow(2);
    EXPECT_EQ(m_list->GetCurrentRowName(), QStringLiteral("row2.AVI"));
    m_list->SetCurrentRow(3);
    EXPECT_EQ(m_list->CurrentRow(), -1);
    EXPECT_TRUE(RowHas(2, qRgb(70, 70, 70), true));
    m_list->SetCurrentRow(1);
    m_list->DeleteAllItems();
    EXPECT_EQ(m_list->GetCurrentRowName(), QString());
    EXPECT_EQ(m_list->columnWidth(1), 72);
    EXPECT_TRUE(m_list->isColumnHidden(4) && m_list->isColumnHidden(5));
}

TEST_F(ListTest, LeftAndRightKeysNeverReachTheListAndDropsGoToTheOwner)
{
    FillRows(5);
    m_list->SelectRow(2);
    for (int key : { Qt::Key_Right, Qt::Key_Left, Qt::Key_Down }) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(m_list, &press);
        EXPECT_TRUE(press.isAccepted());
    }
    EXPECT_EQ(m_list->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(m_list->SelectedRow(), 3);

    QStringList received;
    QObject::connect(
        m_list, &CRkListCtrl::FilesDropped, [&received](const QStringList& paths) { received = paths; });
    QMimeData data;
    data.setUrls({ QUrl::fromLocalFile("/media/card/DCIM"), QUrl::fromLocalFile("/tmp/one.AVI") });
    QDragEnterEvent enter(QPoint(20, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_list->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(20, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_list->viewport(), &drop);
    EXPECT_EQ(received, (QStringList { "/media/card/DCIM", "/tmp/one.AVI" }));
}

TEST_F(ListTest, ScrollBarStandsBesideTheListAndItsThumbStopsAboveTheLowerArrow)
{
    EXPECT_EQ(Bar().geometry(), QRect(272, 10, 18, kListHeight));
    m_list->hide();
    EXPECT_FALSE(Bar().isVisible());
    m_list->show();
    EXPECT_EQ(Bar().ThumbTop(), 36);
    EXPECT_EQ(Grab(Bar()).pixel(9, 45), ColourForId(164)); // nothing to scroll: no thumb
    FillRows(40);
    ASSERT_EQ(Bar().ScrollLimit(), 30);
    m_list->verticalScrollBar()->setValue(15);
    EXPECT_EQ(Bar().ThumbTop(), 36 + 55);
    m_list->verticalScrollBar()->setValue(30);
    EXPECT_EQ(Bar().ThumbTop(), kListHeight - 54);
    const QImage bar = Grab(Bar());
    EXPECT_EQ(bar.pixel(9, kListHeight - 45), ColourForId(167));
    EXPECT_EQ(bar.pixel(9, kListHeight - 27), ColourForId(165));
    EXPECT_EQ(bar.pixel(9, 27), ColourForId(163));
    EXPECT_EQ(bar.pixel(0, kListHeight - 5), ColourForId(164)); // the bottom cap stands one pixel in
    EXPECT_EQ(bar.pixel(1, kListHeight - 5), ColourForId(166));
    m_list->DeleteAllItems();
    EXPECT_EQ(Bar().ThumbTop(), 36);
}

TEST_F(ListTest, ThumbDragArrowsPagingAndWheelScrollTheList)
{
    FillRows(40);
    SendMouse(Bar(), QEvent::MouseButtonPress, QPoint(9, 40));
    SendMouse(Bar(), QEvent::MouseMove, QPoint(9, 100));
    EXPECT_EQ(Bar().ThumbTop(), 91);
    EXPECT_EQ(Position(), 15);
    SendMouse(Bar(), QEvent::MouseMove, QPoint(9, kListHeight + 50));
    SendMouse(Bar(), QEvent::MouseButtonRelease, QPoint(9, kListHeight + 50));
    EXPECT_EQ(Position(), 30);
    EXPECT_EQ(Bar().ThumbTop(), kListHeight - 54);

    m_list->scrollToTop();
    test::Click(Bar(), QPoint(9, kListHeight - 27));
    test::Click(Bar(), QPoint(9, kListHeight - 27));
    test::Click(Bar(), QPoint(9, 27));
    EXPECT_EQ(Position(), 1);
    const int page = m_list->verticalScrollBar()->pageStep();
    test::Click(Bar(), QPoint(9, 150));
    EXPECT_EQ(Position(), 1 + page);
    test::Click(Bar(), QPoint(9, 38));
    test::Click(Bar(), QPoint(9, 5)); // the caps do nothing
    EXPECT_EQ(Position(), 1);

    QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, -120), Qt::NoButton,
        Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(m_list->viewport(), &wheel);
    EXPECT_GE(Position(), 2);
    EXPECT_EQ(Bar().ThumbTop(), 36 + int(110.0 / 30 * Position()));
}

TEST_F(ListTest, HeldArrowRepeatsAfterTheFirstDelay)
{
    FillRows(40);
    QElapsedTimer clock;
    clock.start();
    SendMouse(Bar(), QEvent::MouseButtonPress, QPoint(9, kListHeight - 27));
    while (Position() == 0 && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_GE(clock.elapsed(), 250);
    const qint64 firstLineAt = clock.elapsed();
    while (clock.elapsed() < firstLineAt + 300)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    // One line every 50 ms at most; a loaded machine may deliver fewer.
    EXPECT_GE(Position(), 2);
    EXPECT_LE(Position() - 1, int((clock.elapsed() - firstLineAt) / 50) + 1);
    SendMouse(Bar(), QEvent::MouseButtonRelease, QPoint(9, 5));
    const int afterRelease = Position();
    while (clock.elapsed() < firstLineAt + 450)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(Position(), afterRelease);
}

} // namespace
} // namespace zq
