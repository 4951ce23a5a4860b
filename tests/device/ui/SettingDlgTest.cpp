#include "DialogTestFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>

using namespace zq;
using namespace zq::test;
using zq::device::CSettingDlg;

namespace {

using SettingDlgTest = DialogTestFixture;

void expectDeviceDefaults(CSettingDlg& d, int allocation = 0)
{
    auto list = [&d](int id) { return qobject_cast<QComboBox*>(d.Control(id)); };
    EXPECT_EQ(list(1031)->currentIndex(), 3);
    EXPECT_EQ(list(1032)->currentIndex(), 0);
    EXPECT_EQ(list(1036)->currentText(), "Level 3");
    EXPECT_EQ(list(1033)->currentIndex(), 1);
    EXPECT_EQ(list(1039)->currentText(), "11.9V");
    EXPECT_EQ(list(1038)->currentText(), "12H");
    EXPECT_EQ(list(1123)->currentIndex(), allocation);
    EXPECT_EQ(list(1042)->currentIndex(), 0);
    EXPECT_EQ(list(1030)->currentText(), "일반");
    EXPECT_TRUE(qobject_cast<QCheckBox*>(d.Control(1035))->isChecked());
    EXPECT_FALSE(qobject_cast<QCheckBox*>(d.Control(1055))->isChecked());
    EXPECT_TRUE(qobject_cast<QRadioButton*>(d.Control(1037))->isChecked());
}

TEST_F(SettingDlgTest, OpensWithoutCardOnModelDefaultsAndTheViewerOptions)
{
    auto d = makeDialog();
    EXPECT_EQ(d->size(), QSize(900, 650));
    EXPECT_EQ(d->windowTitle(), "Settings");
    EXPECT_EQ(d->Control(1031)->geometry(), QRect(154, 158, 129, 19));
    EXPECT_EQ(d->Control(1028)->geometry(), QRect(382, 74, 128, 19));
    ASSERT_EQ(list(*d, 1028)->count(), 1);
    EXPECT_EQ(list(*d, 1028)->itemText(0), "card(" + cardRoot() + ")");
    EXPECT_EQ(list(*d, 1028)->currentIndex(), -1);
    expectDeviceDefaults(*d);
    EXPECT_EQ(list(*d, 1031)->itemText(0), "Off");
    EXPECT_EQ(list(*d, 1039)->itemText(0), "Not Used");
    EXPECT_EQ(list(*d, 1129)->currentText(), "ZQ481K");
    EXPECT_FALSE(control<QCheckBox>(*d, 1046)->isChecked());
    for (int id : { 1045, 1047, 1048, 1049, 1050, 1051 })
        EXPECT_FALSE(d->Control(id)->isEnabled()) << id;
    EXPECT_EQ(list(*d, 1045)->currentText(), QString::number(QDate::currentDate().year()));
    EXPECT_EQ(control<QLineEdit>(*d, 1040)->text(), "/saved/here");
    EXPECT_EQ(control<QLabel>(*d, 1054)->text(), "7");
    EXPECT_EQ(control<QSlider>(*d, 1053)->value(), 7);
    EXPECT_TRUE(control<QCheckBox>(*d, 1044)->isChecked());
    EXPECT_EQ(list(*d, 1329)->currentIndex(), 0);
    EXPECT_TRUE(control<QRadioButton>(*d, 1331)->isChecked());
    EXPECT_TRUE(d->Control(1127)->isHidden()) << "the speaker-mute box is never shown";
}

TEST_F(SettingDlgTest, GermanUsesTheTwoLineLabels)
{
    TheOptionFile().m_language = 2;
    TheOptionFile().LoadLanguageDll();
    auto d = makeDialog();
    EXPECT_EQ(d->Control(1131)->geometry(), QRect(20, 40, 258, 29));
    EXPECT_EQ(d->Control(1028)->geometry(), QRect(369, 74, 102, 19));
    EXPECT_EQ(d->Control(1040)->geometry(), QRect(217, 434, 192, 23));
    EXPECT_EQ(d->Control(1031)->geometry(), QRect(154, 158, 129, 19));
}

TEST_F(SettingDlgTest, CardWithoutSetupFileShowsDefaultsAndKeepsTheViewerControls)
{
    auto d = makeDialog();
    list(*d, 1031)->setCurrentIndex(6);
    control<QLineEdit>(*d, 1040)->setText("/typed");
    emit control<QLineEdit>(*d, 1040)->textEdited("/typed");
    control<QSlider>(*d, 1053)->setValue(2);
    list(*d, 1028)->setCurrentIndex(0);
    expectDeviceDefaults(*d);
    EXPECT_EQ(control<QLineEdit>(*d, 1040)->text(), "/typed");
    EXPECT_EQ(control<QLabel>(*d, 1054)->text(), "2");
    EXPECT_TRUE(control<QCheckBox>(*d, 1044)->isChecked());
}

TEST_F(SettingDlgTest, CardSettingsAreShownAndDefaultsResetBothPartsWithOrWithoutCard)
{
    ASSERT_TRUE(writeFile(card("setup.cfg"), SetupText(TypicalValues())));
    auto d = makeDialog();
    list(*d, 1028)->setCurrentIndex(0);
    EXPECT_EQ(list(*d, 1031)->currentIndex(), 5);
    EXPECT_TRUE(control<QRadioButton>(*d, 1041)->isChecked());
    EXPECT_EQ(list(*d, 1039)->currentText(), "24.4V");
    EXPECT_EQ(list(*d, 1030)->currentText(), "저전력");
    EXPECT_TRUE(control<QCheckBox>(*d, 1055)->isChecked());

    control<QPushButton>(*d, 1027)->click();
    expectDeviceDefaults(*d, 1); // the allocation read from the card is kept: it has a selection
    EXPECT_EQ(control<QLabel>(*d, 1054)->text(), "5");
    EXPECT_EQ(control<QSlider>(*d, 1053)->value(), 5);
    EXPECT_FALSE(control<QCheckBox>(*d, 1044)->isChecked());
    EXPECT_EQ(control<QLineEdit>(*d, 1040)->text(), work.path() + "/home/Documents/CAM_CAPTURE");

    auto noCard = makeDialog();
    list(*noCard, 1031)->setCurrentIndex(0);
    control<QPushButton>(*noCard, 1027)->click();
    expectDeviceDefaults(*noCard);
    EXPECT_EQ(control<QLabel>(*noCard, 1054)->text(), "5");
    EXPECT_FALSE(control<QCheckBox>(*noCard, 1044)->isChecked());
}

TEST_F(SettingDlgTest, TwelveToTwentyFourVoltKeepsTheIndex)
{
    auto d = makeDialog();
    list(*d, 1039)->setCurrentIndex(6);
    EXPECT_EQ(list(*d, 1039)->currentText(), "12.5V");
    control<QRadioButton>(*d, 1041)->click();
    EXPECT_EQ(list(*d, 1039)->currentText(), "24.4V");
    control<QRadioButton>(*d, 1037)->click();
    EXPECT_EQ(list(*d, 1039)->currentText(), "12.5V");
}

TEST_F(SettingDlgTest, OkWithoutCardAsksAndSavesOnlyTheViewerOptions)
{
    auto d = makeDialog();
    answers.Press(QMessageBox::Cancel);
    control<QPushButton>(*d, 1)->click();
    ASSERT_EQ(answers.shown.size(), 1);
    EXPECT_TRUE(answers.shown[0].contains("No SD card is selected")) << answers.shown[0].toStdString();
    EXPECT_NE(d->result(), QDialog::Accepted);
    EXPECT_FALSE(QFile::exists(OptionFilePath())) << "Cancel stays in the dialog, nothing saved";

    list(*d, 1329)->setCurrentIndex(2);
    control<QRadioButton>(*d, 1332)->click();
    control<QSlider>(*d, 1053)->setValue(9);
    answers.Press(QMessageBox::Ok);
    control<QPushButton>(*d, 1)->click();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    const QByteArray options = readFile(OptionFilePath());
    EXPECT_TRUE(options.contains("PLAY_VALUE=9\r\n")) << options.toStdString();
    EXPECT_TRUE(options.contains("LANGUAGE=2\r\n")) << "the language chosen is kept, not forced to Korean";
    EXPECT_TRUE(options.contains("SPEED=1\r\n"));
    EXPECT_TRUE(options.contains("REAR_MIRROR=1\r\n"));
    EXPECT_TRUE(d->LanguageChanged());
    EXPECT_EQ(TheOptionFile().m_language, 2);
    EXPECT_TRUE(QDir(cardRoot()).isEmpty()) << "no card file is written without a card";
}

TEST_F(SettingDlgTest, OkWithCardAndClockUntickedWritesOnlySetupFile)
{
    ASSERT_TRUE(writeFile(card("time.cfg"), "17/05/31\r\n09/05/07\r\n"));
    auto d = makeDialog();
    list(*d, 1028)->setCurrentIndex(0);
    EXPECT_EQ(list(*d, 1045)->currentText(), "2017") << "time.cfg is read after setup.cfg";
    list(*d, 1031)->setCurrentIndex(1);
    control<QPushButton>(*d, 1)->click();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(answers.shown.isEmpty());
    const QStringList lines = QString::fromUtf8(readFile(card("setup.cfg"))).split("\r\n");
    ASSERT_EQ(lines.size(), 26);
    EXPECT_EQ(lines[3], "Acc Trigger Level       : 1");
    EXPECT_EQ(readFile(card("time.cfg")), "17/05/31\r\n09/05/07\r\n");
    EXPECT_FALSE(d->LanguageChanged());

    // Ticking the clock box writes time.cfg too, from the PC clock.
    auto again = makeDialog();
    list(*again, 1028)->setCurrentIndex(0);
    control<QCheckBox>(*again, 1046)->click();
    EXPECT_TRUE(again->Control(1045)->isEnabled());
    control<QPushButton>(*again, 1)->click();
    EXPECT_TRUE(readFile(card("time.cfg")).startsWith(QDate::currentDate().toString("yy/MM/dd").toUtf8()));
}

TEST_F(SettingDlgTest, WriteFailureIsShownAndTheDialogStaysOpen)
{
    auto d = makeDialog();
    list(*d, 1028)->setCurrentIndex(0);
    ASSERT_TRUE(QDir().mkpath(card("setup.cfg"))); // a folder in the file's place
    answers.Press(QMessageBox::Ok);
    control<QPushButton>(*d, 1)->click();
    ASSERT_EQ(answers.shown.size(), 1);
    EXPECT_TRUE(answers.shown[0].contains("setup.cfg could not be written"))
        << answers.shown[0].toStdString();
    EXPECT_NE(d->result(), QDialog::Accepted);
    EXPECT_FALSE(QFile::exists(OptionFilePath()));
}

TEST_F(SettingDlgTest, ASecondCardDropsTheSelectionAndOkTakesTheNoCardPath)
{
    auto d = makeDialog();
    list(*d, 1028)->setCurrentIndex(0);
    QDir().mkpath(work.path() + "/card2");
    FakeVolumes::Disk second;
    second.name = "sdc";
    second.mountPoint = work.path() + "/card2";
    volumes->Add(second);
    QElapsedTimer timer;
    timer.start();
    while (list(*d, 1028)->currentIndex() != -1 && timer.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    // The second card is not known to the format service, so it is not listed; the list was refilled.
    EXPECT_EQ(list(*d, 1028)->currentIndex(), -1);
    answers.Press(QMessageBox::Ok);
    control<QPushButton>(*d, 1)->click();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_FALSE(QFile::exists(card("setup.cfg")));
    ASSERT_EQ(answers.shown.size(), 1);
    EXPECT_TRUE(answers.shown[0].contains("No SD card"));
}

TEST_F(SettingDlgTest, Screenshots)
{
    const QString folder = QStringLiteral(ZQ_BINARY_DIR) + "/screenshots/device";
    QDir().mkpath(folder);
    for (const auto& [language, name] : { std::pair { 0, "English" }, { 1, "Korean" }, { 2, "German" } }) {
        TheOptionFile().m_language = language;
        TheOptionFile().LoadLanguageDll();
        auto d = makeDialog();
        d->show();
        list(*d, 1028)->setCurrentIndex(0);
        const QImage image = d->grab().toImage();
        EXPECT_EQ(image.size(), QSize(900, 650));
        EXPECT_TRUE(image.save(folder + "/setting-" + name + ".png"));
    }
}

} // namespace
