#include "CAboutDlg.h"

#include "CRkButtonCtrl.h"
#include "CRkTextCtrl.h"
#include "SensorsUiTesting.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

using zq::CAboutDlg;
using zq::test::SameRgb;

namespace {

// Title, OK normal and OK pressed images of each language, as the recorder's about box used them.
constexpr int kImages[12][3] = {
    { 194, 192, 193 },
    { 1092, 1094, 1095 },
    { 1122, 1120, 1121 },
    { 1145, 1143, 1144 },
    { 1306, 1304, 1305 },
    { 1260, 1258, 1259 },
    { 1191, 1189, 1190 },
    { 1214, 1212, 1213 },
    { 1283, 1281, 1282 },
    { 1237, 1235, 1236 },
    { 1329, 1327, 1328 },
    { 1168, 1166, 1167 },
};

TEST(AboutDlg, ShowsTheLanguagesTitleBitmapAndOkImages)
{
    zq::test::ScopedSkin skin;
    for (int language = 0; language < 12; ++language)
        skin.AddBitmap(kImages[language][0], 291, 28, qRgb(10 * language, 100, 200 - 10 * language));

    for (int language = 0; language <= 12; ++language) {
        CAboutDlg dlg;
        dlg.SetLanguage(language);
        dlg.InitDialog();
        const QImage title = dlg.TitlePicture()->pixmap().toImage();
        if (language == 12) {
            // Outside 0..11: no title bitmap, no OK images; the box still works.
            EXPECT_TRUE(title.isNull());
            EXPECT_EQ(dlg.OkButton()->NormalImage() + dlg.OkButton()->PressedImage(), 0);
            continue;
        }
        ASSERT_EQ(title.size(), QSize(291, 28)) << "language " << language;
        EXPECT_TRUE(SameRgb(title.pixel(145, 14), qRgb(10 * language, 100, 200 - 10 * language))) << language;
        EXPECT_EQ(dlg.OkButton()->NormalImage(), kImages[language][1]) << "language " << language;
        EXPECT_EQ(dlg.OkButton()->PressedImage(), kImages[language][2]) << "language " << language;
        EXPECT_EQ(dlg.OkButton()->ShownImage(), kImages[language][1]);
    }
}

TEST(AboutDlg, LaysOutTheBoxCentredOverItsOwner)
{
    QWidget owner;
    owner.setGeometry(100, 100, 1034, 742);
    CAboutDlg dlg(&owner);
    dlg.InitDialog();
    EXPECT_EQ(dlg.geometry(), QRect(100 + (1034 - 291) / 2, 100 + (742 - 160) / 2, 291, 160));
    EXPECT_EQ(dlg.TitlePicture()->geometry(), QRect(0, 0, 291, 28));

    const zq::CRkTextCtrl* title = dlg.TitleText();
    const zq::CRkTextCtrl* version = dlg.VersionText();
    EXPECT_EQ(QList<int>({ title->Id(), title->Kind(), version->Id(), version->Kind() }),
        QList<int>({ 1000, 8, 1001, 9 }));
    EXPECT_EQ(title->geometry(), QRect(30, 50, 230, 20));
    EXPECT_EQ(version->geometry(), QRect(30, 80, 200, 20));
    EXPECT_EQ(version->Background(), QColor(10, 10, 10));

    EXPECT_EQ(dlg.OkButton()->geometry(), QRect(198, 118, 83, 32));
    EXPECT_EQ(dlg.OkButton()->Id(), 1);
    const zq::CRkButtonCtrl* second = dlg.SecondButton();
    EXPECT_EQ(second->geometry(), QRect(105, 118, 83, 32));
    EXPECT_EQ(QList<int>({ second->Id(), second->NormalImage(), second->PressedImage() }),
        QList<int>({ 1144, 1336, 1335 }));
    EXPECT_TRUE(second->isHidden());
    EXPECT_TRUE(SameRgb(dlg.grab().toImage().pixel(5, 150), qRgb(10, 10, 10)));
}

TEST(AboutDlg, OkEndsTheModalRunAndTheSecondButtonSpeaksOnlyForAnEmptyLibrary)
{
    CAboutDlg dlg;
    QTimer::singleShot(0, &dlg, [&dlg] { dlg.OkButton()->click(); });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_EQ(dlg.OkButton()->NormalImage(), 192) << "initialised when shown";

    zq::test::ScopedLanguage language;
    language.Write(0, { { 288, "No recordings" } });
    QString shown;
    auto answer = [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->done(QMessageBox::Ok);
        }
    };
    QTimer::singleShot(0, answer);
    dlg.SecondButton()->click();
    EXPECT_EQ(shown, QStringLiteral("No recordings"));

    shown.clear();
    dlg.SetRecordingCount(3);
    QTimer::singleShot(0, answer);
    dlg.SecondButton()->click();
    QApplication::processEvents();
    EXPECT_TRUE(shown.isEmpty());
}

} // namespace
