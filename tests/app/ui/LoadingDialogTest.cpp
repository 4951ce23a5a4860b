#include "CFileLoadDlg.h"
#include "CRkTextCtrl.h"
#include "SensorsUiTesting.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace zq {
namespace {

TEST(LoadingDialog, NoticeShowsItsLinesForFiveSecondsAndDoesNoWork)
{
    test::ScopedLanguage language;
    language.Write(0, { { 273, "Notice" }, { 274, "Insert" }, { 281, "Click" }, { 282, "Drop" } });
    CFileLoadDlg dlg;
    bool filled = false;
    dlg.SetFill([&] { filled = true; });
    dlg.SetMode(CFileLoadDlg::kModeNotice);
    QElapsedTimer clock;
    clock.start();
    dlg.exec();
    EXPECT_GE(clock.elapsed(), 4900);
    EXPECT_FALSE(filled);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Notice"));
    EXPECT_EQ(dlg.Text()->Kind(), CRkTextCtrl::kKindLoadingNotice);
    EXPECT_EQ(dlg.Text()->Runs().size(), 3);
    EXPECT_EQ(dlg.size(), QSize(350, 100));
    EXPECT_EQ(dlg.Text()->geometry(), QRect(0, 10, 350, 80));
}

TEST(LoadingDialog, AfterADropItWaitsThreeSecondsThenFills)
{
    test::ScopedLanguage language;
    language.Write(6, { { 285, "Chargement" } });
    CFileLoadDlg dlg;
    dlg.SetLanguage(6);
    int fills = 0;
    dlg.SetFill([&] { ++fills; });
    dlg.SetMode(CFileLoadDlg::kModeDropped);
    QElapsedTimer clock;
    clock.start();
    dlg.exec();
    EXPECT_GE(clock.elapsed(), 2900);
    EXPECT_LT(clock.elapsed(), 4900);
    EXPECT_EQ(fills, 1);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Chargement"));
    EXPECT_EQ(dlg.Text()->Kind(), CRkTextCtrl::kKindLoadingSearch);
    EXPECT_EQ(dlg.width(), 400);
    EXPECT_EQ(CFileLoadDlg::WidthForLanguage(0), 350);
    EXPECT_EQ(CFileLoadDlg::WidthForLanguage(3), 300);
}

} // namespace
} // namespace zq
