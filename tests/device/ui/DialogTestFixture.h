#pragma once

#include "CSettingDlg.h"
#include "CardFormatService.h"
#include "DeviceTestCard.h"
#include "FakeUdisks.h"
#include "FakeVolumes.h"
#include "ModalAnswers.h"
#include "OptionFile.h"
#include "ProgramFolder.h"
#include "TestSupport.h"
#include "Volumes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace zq::test {

/// A card folder seen as a removable volume, a fake UDisks2 that can format it, the bundle's string
/// tables and an option file of the test's own.
class DialogTestFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(work.isValid());
        m_oldHome = qgetenv("HOME");
        m_oldData = qgetenv("XDG_DATA_HOME");
        qputenv("HOME", (work.path() + "/home").toUtf8());
        qputenv("XDG_DATA_HOME", (work.path() + "/data").toUtf8());
        QDir().mkpath(work.path() + "/home/Documents");
        QDir().mkpath(cardRoot());
        SetProgramFolder(bundleDir());
        TheOptionFile() = {};
        TheOptionFile().m_saveDirectory = "/saved/here";
        TheOptionFile().m_playValue = 7;
        TheOptionFile().m_rearMirror = true;
        TheOptionFile().LoadLanguageDll();
        OptionFilePath() = work.path() + "/option.ini";

        volumes = std::make_unique<FakeVolumes>(work.path() + "/volumes");
        FakeVolumes::Disk disk;
        disk.mountPoint = cardRoot();
        volumes->Add(disk);
        udisks = std::make_unique<FakeUdisks>(
            work.path(), QVector<FakeUdisks::Device> { { "sdb1", "/dev/sdb1", cardRoot() } });
        ASSERT_TRUE(udisks->Started()) << udisks->Error().toStdString();
        const QVector<platform::Volume> found = platform::Volumes::Removable();
        ASSERT_EQ(found.size(), 1);
        ASSERT_EQ(found[0].device, "/dev/sdb1");
        ASSERT_TRUE(found[0].mediumPresent);
        ASSERT_LT(device::CardCapacity(found[0]), 100ull << 30) << found[0].disk.toStdString();
        QString reason;
        ASSERT_TRUE(platform::CardFormatService().CanFormat(found[0].device, "vfat", &reason))
            << reason.toStdString();
    }
    void TearDown() override
    {
        udisks.reset();
        volumes.reset();
        OptionFilePath().clear();
        TheOptionFile() = {};
        SetProgramFolder({});
        qputenv("HOME", m_oldHome);
        qputenv("XDG_DATA_HOME", m_oldData);
    }

    QString cardRoot() const { return work.path() + "/card/"; }
    QString card(const QString& name) const { return cardRoot() + name; }

    std::unique_ptr<device::CSettingDlg> makeDialog(const QString& source = QString())
    {
        return std::make_unique<device::CSettingDlg>(nullptr, TheOptionFile(), source);
    }
    static QComboBox* list(device::CSettingDlg& d, int id) { return qobject_cast<QComboBox*>(d.Control(id)); }
    template <typename T> static T* control(device::CSettingDlg& d, int id)
    {
        return qobject_cast<T*>(d.Control(id));
    }

    QTemporaryDir work;
    std::unique_ptr<FakeVolumes> volumes;
    std::unique_ptr<FakeUdisks> udisks;
    ModalAnswers answers;

private:
    QByteArray m_oldHome;
    QByteArray m_oldData;
};

} // namespace zq::test
