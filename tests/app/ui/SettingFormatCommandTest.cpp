#include "CCorvaneDlg.h"
#include "CFormatDlg.h"
#include "CRkListCtrl.h"
#include "CSettingDlg.h"
#include "CommandIds.h"
#include "FakeUdisks.h"
#include "FakeVolumes.h"
#include "MainWindowTesting.h"
#include "ModalAnswers.h"
#include "OptionFile.h"
#include "SensorsUiTesting.h"
#include "TestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gst/gst.h>
#include <gtest/gtest.h>

namespace zq {
namespace {

const bool kGstReady = [] {
    qputenv("ZQ_AUDIO_SINK", "fakesink");
    gst_init(nullptr, nullptr);
    return true;
}();

constexpr int kBoundMs = 30000;

// Formatting the card the window plays from, inside the Setting command: the window lets go of the card's
// list, whatever the settings dialog ends with, and nothing resumes.
TEST(SettingFormatCommandTest, FormattingTheLoadedCardResetsTheWindow)
{
    QTemporaryDir work;
    const QString root = work.path() + QStringLiteral("/card");
    ASSERT_TRUE(test::GenerateRecording(root + QStringLiteral("/NORMAL/20170531_090507D.avi"),
        { QStringLiteral("--duration"), QStringLiteral("6") }));
    test::ScopedLanguage language;
    language.Write(0, { { 251, "No recordings" }, { 235, "All data on the SD card will be erased." } });
    qputenv("XDG_DATA_HOME", (work.path() + QStringLiteral("/data")).toUtf8());
    test::FakeVolumes volumes(work.path() + QStringLiteral("/volumes"));
    test::FakeVolumes::Disk disk;
    disk.mountPoint = root;
    volumes.Add(disk);
    test::FakeUdisks udisks(work.path(), { { "sdb1", "/dev/sdb1", root + QStringLiteral("/") } });
    ASSERT_TRUE(udisks.Started()) << udisks.Error().toStdString();

    CCorvaneDlg::Options options;
    options.startupNotice = false;
    CCorvaneDlg dlg(options);
    dlg.show();
    RecordingLibrary& library = dlg.Library();
    library.RefreshSources();
    ASSERT_TRUE(library.OpenSource(library.SourceIndexForPath(root)));
    dlg.FillAfterLoad(root);
    ASSERT_TRUE(
        test::WaitUntil([&] { return !dlg.IsWorkerBusy() && dlg.GetPlayer().GetState() == 0; }, kBoundMs));
    ASSERT_FALSE(dlg.SourceRoot().isEmpty());

    test::ModalAnswers answers;
    answers.Then([](QWidget* w) {
        auto* settings = qobject_cast<device::CSettingDlg*>(w);
        ASSERT_NE(settings, nullptr);
        auto* cards = qobject_cast<QComboBox*>(settings->Control(1028));
        ASSERT_EQ(cards->count(), 1);
        cards->setCurrentIndex(0);
        auto* format = qobject_cast<QPushButton*>(settings->Control(1029));
        QMetaObject::invokeMethod(format, &QPushButton::click, Qt::QueuedConnection);
    });
    answers.Press(QMessageBox::Yes);
    answers.Then([&dlg](QWidget* w) {
        auto* format = qobject_cast<device::CFormatDlg*>(w);
        ASSERT_NE(format, nullptr);
        // The recording open from the card was closed before the format, so the card can be unmounted.
        EXPECT_NE(dlg.GetPlayer().GetState(), 0);
        EXPECT_NE(dlg.GetPlayer().GetState(), 1);
        format->StartButton()->click();
    });
    // Back in the settings dialog: cancelled, the format stands all the same.
    answers.Then([](QWidget* w) { QMetaObject::invokeMethod(w, "reject", Qt::QueuedConnection); });
    answers.Press(QMessageBox::Ok);

    EXPECT_TRUE(dlg.RunCommand(kCmdSetting));
    EXPECT_FALSE(udisks.Calls().filter(QRegularExpression(QStringLiteral("^Format "))).isEmpty())
        << udisks.Calls().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(dlg.Children().list->GetItemCount(), 0);
    EXPECT_TRUE(dlg.SourceRoot().isEmpty());
    EXPECT_NE(dlg.GetPlayer().GetState(), 0) << "nothing to resume";
    EXPECT_TRUE(answers.shown.join(QLatin1Char('|')).contains(QStringLiteral("No recordings")))
        << answers.shown.join(QLatin1Char('|')).toStdString();
    qunsetenv("XDG_DATA_HOME");
}

} // namespace
} // namespace zq
