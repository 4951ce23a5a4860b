#include "CXFolderDialog.h"

#include "CHistoryCombo.h"
#include "FakeVolumes.h"
#include "OptionFile.h"
#include "ProgramFolder.h"
#include "TestSupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>

using zq::CXFolderDialog;
using zq::test::FakeVolumes;

namespace {

bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

// Answers the next message box that opens (with OK) and keeps its text; nobody has to be there.
class MessageBoxAnswerer {
public:
    MessageBoxAnswerer()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            m_texts.append(box->text());
            const QByteArray shotDir = qgetenv("ZQ_SCREENSHOT_DIR");
            if (!shotDir.isEmpty())
                box->grab().save(
                    QString::fromLocal8Bit(shotDir) + QStringLiteral("/folder-picker-message.png"));
            box->accept();
        });
        m_timer.start();
    }
    const QStringList& Texts() const { return m_texts; }

private:
    QTimer m_timer;
    QStringList m_texts;
};

class FolderPickerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        // The "Corvane" settings go to a folder of this test only.
        QSettings::setPath(
            QSettings::NativeFormat, QSettings::UserScope, m_dir.filePath(QStringLiteral("config")));
        zq::SetProgramFolder(m_dir.filePath(QStringLiteral("program")));
        zq::TheOptionFile() = {};
    }
    void TearDown() override
    {
        zq::SetProgramFolder({});
        zq::TheOptionFile() = {};
    }

    QString Folder(const QString& relative)
    {
        const QString path = m_dir.filePath(relative);
        QDir().mkpath(path);
        return path;
    }
    QString File(const QString& relative)
    {
        const QString path = m_dir.filePath(relative);
        zq::test::writeFile(path, "RIFF");
        return path;
    }
    static QSettings Settings() { return QSettings(QStringLiteral("Corvane"), QStringLiteral("Corvane")); }

    // Lists of the dialog fill in the background; wait until the folder's entries are there.
    static bool WaitForListing(CXFolderDialog& dialog, int rows)
    {
        auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
        return list && WaitFor([&] { return list->model()->rowCount(list->rootIndex()) >= rows; });
    }
    static void SelectInList(CXFolderDialog& dialog, const QStringList& names)
    {
        auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
        ASSERT_NE(list, nullptr);
        list->selectionModel()->clearSelection();
        for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row) {
            const QModelIndex index = list->model()->index(row, 0, list->rootIndex());
            if (names.contains(index.data().toString()))
                list->selectionModel()->select(
                    index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    static void PressSelect(CXFolderDialog& dialog) { dialog.SelectButton()->click(); }
    // Types into the file-name box the way a user does: the box has the focus while the text changes.
    static void TypeFileName(CXFolderDialog& dialog, const QString& text)
    {
        dialog.activateWindow();
        QApplication::setActiveWindow(&dialog);
        dialog.FileNameEdit()->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(WaitFor([&] { return dialog.FileNameEdit()->hasFocus(); }));
        dialog.FileNameEdit()->setText(text);
    }

    QTemporaryDir m_dir;
};

TEST_F(FolderPickerTest, AHistoryOfSixtyLoadsFiftyAndTheChoiceGoesFirst)
{
    QSettings settings = Settings();
    QStringList folders;
    for (int i = 0; i < 60; ++i) {
        folders.append(Folder(QStringLiteral("h%1").arg(i)));
        settings.setValue(
            QStringLiteral("FolderHistory/Folder%1").arg(i, 4, 10, QLatin1Char('0')), folders.last());
    }
    settings.sync();

    // The combo alone shows the first entry; with no entries, the text last shown.
    zq::CHistoryCombo combo;
    combo.LoadHistory(settings);
    EXPECT_EQ(combo.currentText(), folders[0]);
    combo.showPopup();
    EXPECT_EQ(combo.maxVisibleItems(), 50) << "the drop-down shows every entry";
    combo.hidePopup();
    QSettings other(m_dir.filePath(QStringLiteral("other.ini")), QSettings::IniFormat);
    other.setValue(QStringLiteral("FolderHistory/Folder"), QStringLiteral("/typed/last"));
    combo.LoadHistory(other);
    EXPECT_EQ(combo.count(), 0);
    EXPECT_EQ(combo.currentText(), QStringLiteral("/typed/last"));

    const QString chosen = Folder(QStringLiteral("chosen"));
    CXFolderDialog dialog(chosen);
    ASSERT_EQ(dialog.HistoryCombo()->count(), 50);
    EXPECT_EQ(dialog.HistoryCombo()->Entries(), folders.mid(0, 50));
    EXPECT_EQ(dialog.HistoryCombo()->currentText(), chosen) << "the edit follows the folder shown";
    EXPECT_EQ(dialog.SelectedPath(), chosen);

    dialog.show();
    ASSERT_TRUE(WaitForListing(dialog, 0));
    PressSelect(dialog);
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.SelectedPaths(), QStringList({ chosen }));

    QSettings after = Settings();
    EXPECT_EQ(after.value(QStringLiteral("FolderHistory/Folder0000")).toString(), chosen);
    EXPECT_EQ(after.value(QStringLiteral("FolderHistory/Folder0001")).toString(), folders[0]);
    EXPECT_EQ(after.value(QStringLiteral("FolderHistory/Folder0049")).toString(), folders[48]);
    EXPECT_FALSE(after.contains(QStringLiteral("FolderHistory/Folder0050")));
    EXPECT_FALSE(after.contains(QStringLiteral("FolderHistory/Folder0059")));

    // Without a start folder the next picker opens where the last one ended.
    CXFolderDialog next;
    EXPECT_EQ(QDir(next.directory()).absolutePath(), chosen);
}

TEST_F(FolderPickerTest, ATypedExistingFolderIsEnteredWithoutClosing)
{
    const QString start = Folder(QStringLiteral("start"));
    const QString target = Folder(QStringLiteral("target/NORMAL"));
    File(QStringLiteral("target/NORMAL/a.avi"));
    CXFolderDialog dialog(start);
    dialog.show();
    dialog.FileNameEdit()->setText(QStringLiteral("kept"));

    QLineEdit* edit = dialog.HistoryCombo()->lineEdit();
    edit->setText(target);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &out);
    EXPECT_EQ(QDir(dialog.directory()).absolutePath(), target);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.SelectedPath(), target);
    EXPECT_EQ(dialog.FileNameEdit()->text(), QStringLiteral("kept"));

    // Return in the combo jumps too, and does not press Select.
    edit->setText(start);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(edit, &enter);
    EXPECT_EQ(QDir(dialog.directory()).absolutePath(), start);
    EXPECT_TRUE(dialog.isVisible());

    // A folder that does not exist leaves the dialog where it is.
    edit->setText(m_dir.filePath(QStringLiteral("nowhere")));
    QApplication::sendEvent(edit, &out);
    EXPECT_EQ(QDir(dialog.directory()).absolutePath(), start);

    // Choosing an entry of the list jumps as well.
    dialog.HistoryCombo()->addItem(target);
    emit dialog.HistoryCombo()->activated(dialog.HistoryCombo()->count() - 1);
    EXPECT_EQ(QDir(dialog.directory()).absolutePath(), target);

    // A folder typed in the file-name box is entered as well, not picked.
    TypeFileName(dialog, start);
    PressSelect(dialog);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(QDir(dialog.directory()).absolutePath(), start);
}

TEST_F(FolderPickerTest, SystemRootsAreRefusedWithSelectError)
{
    const QString data = Folder(QStringLiteral("data"));
    const QString videos = Folder(QStringLiteral("data/videos"));
    FakeVolumes fake(m_dir.filePath(QStringLiteral("fake")));
    fake.AddSystemDisk();
    FakeVolumes::Disk fixed;
    fixed.name = QStringLiteral("sdc");
    fixed.mountPoint = data;
    fixed.removableFlag = false;
    fixed.bus = FakeVolumes::Bus::Ata;
    fake.Add(fixed);

    MessageBoxAnswerer answerer;
    for (const QString& refused : { QStringLiteral("/"), data }) {
        CXFolderDialog dialog(refused);
        dialog.show();
        PressSelect(dialog);
        EXPECT_TRUE(WaitFor([&] { return !answerer.Texts().isEmpty(); })) << refused.toStdString();
        EXPECT_EQ(answerer.Texts(), QStringList({ QStringLiteral("Select error") }));
        EXPECT_TRUE(dialog.isVisible()) << "the picker stays open";
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        const_cast<QStringList&>(answerer.Texts()).clear();
    }

    // Below the mount root the folder is fine.
    CXFolderDialog dialog(videos);
    dialog.show();
    PressSelect(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.SelectedPaths(), QStringList({ videos }));
    EXPECT_TRUE(answerer.Texts().isEmpty());
}

TEST_F(FolderPickerTest, ARemovableVolumesRootYieldsItsMountRoot)
{
    const QString card = Folder(QStringLiteral("media/CARD"));
    File(QStringLiteral("media/CARD/NORMAL/a.avi"));
    FakeVolumes fake(m_dir.filePath(QStringLiteral("fake")));
    fake.AddSystemDisk();
    FakeVolumes::Disk usb;
    usb.mountPoint = card;
    fake.Add(usb);

    {
        // The card's folder shown, nothing selected.
        CXFolderDialog dialog(card);
        EXPECT_TRUE(dialog.sidebarUrls().contains(QUrl::fromLocalFile(card)))
            << "the card is in the side bar";
        dialog.show();
        PressSelect(dialog);
        ASSERT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.SelectedPaths(), QStringList({ card + QStringLiteral("/") }));
    }
    {
        // The card selected in the folder that holds it.
        CXFolderDialog dialog(m_dir.filePath(QStringLiteral("media")));
        dialog.show();
        ASSERT_TRUE(WaitForListing(dialog, 1));
        SelectInList(dialog, { QStringLiteral("CARD") });
        EXPECT_EQ(dialog.SelectedPaths(), QStringList({ card }));
        EXPECT_EQ(dialog.HistoryCombo()->currentText(), card);
        PressSelect(dialog);
        ASSERT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.SelectedPaths(), QStringList({ card + QStringLiteral("/") }));
    }
    QSettings settings = Settings();
    EXPECT_EQ(
        settings.value(QStringLiteral("FolderHistory/Folder0000")).toString(), card + QStringLiteral("/"));
}

TEST_F(FolderPickerTest, SeveralFilesArePickedInOrder)
{
    const QString folder = Folder(QStringLiteral("rec"));
    const QString a = File(QStringLiteral("rec/A.avi"));
    const QString b = File(QStringLiteral("rec/B.avi"));
    File(QStringLiteral("rec/notes.txt"));
    {
        CXFolderDialog dialog(folder);
        dialog.show();
        ASSERT_TRUE(WaitForListing(dialog, 2));
        // The list sorts by name in the background; select as the user sees it, A above B.
        auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
        ASSERT_TRUE(WaitFor([&] {
            return list->model()->index(0, 0, list->rootIndex()).data().toString() == QStringLiteral("A.avi");
        }));
        SelectInList(dialog, { QStringLiteral("A.avi"), QStringLiteral("B.avi") });
        PressSelect(dialog);
        ASSERT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.SelectedPaths(), QStringList({ a, b }));
    }
    EXPECT_EQ(Settings().value(QStringLiteral("FolderHistory/Folder0000")).toString(), folder)
        << "files stand for their folder in the history";
    {
        // Typed names, one of them without its extension.
        CXFolderDialog dialog(folder);
        dialog.show();
        TypeFileName(dialog, QStringLiteral("\"B.avi\" \"A\""));
        PressSelect(dialog);
        ASSERT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.SelectedPaths(), QStringList({ b, folder + QStringLiteral("/A") }));
    }
}

TEST_F(FolderPickerTest, PickRunsModallyAndKeepsTheViewMode)
{
    const QString folder = Folder(QStringLiteral("pick"));
    bool answered = false;
    QTimer::singleShot(50, [&] {
        auto* dialog = qobject_cast<CXFolderDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->viewMode(), QFileDialog::Detail) << "Qt's own default while nothing is stored";
        dialog->setViewMode(QFileDialog::List);
        answered = true;
        dialog->SelectButton()->click();
    });
    const std::optional<QStringList> picked = CXFolderDialog::Pick(nullptr, folder);
    ASSERT_TRUE(answered);
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(*picked, QStringList({ folder }));
    EXPECT_EQ(Settings().value(QStringLiteral("XFolderDialog/ViewMode")).toInt(), 1) << "1 is the list";

    QTimer::singleShot(50, [&] {
        auto* dialog = qobject_cast<CXFolderDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->viewMode(), QFileDialog::List);
        dialog->setViewMode(QFileDialog::Detail);
        dialog->reject();
    });
    EXPECT_FALSE(CXFolderDialog::Pick(nullptr, folder).has_value());
    EXPECT_EQ(Settings().value(QStringLiteral("XFolderDialog/ViewMode")).toInt(), 0)
        << "0 is the detail view; a cancelled picker keeps its view mode too";
    // A dialog whose owner did not ask for it leaves the stored mode alone.
    CXFolderDialog plain(folder);
    EXPECT_EQ(plain.viewMode(), QFileDialog::Detail);
    plain.setViewMode(QFileDialog::List);
    plain.reject();
    EXPECT_EQ(Settings().value(QStringLiteral("XFolderDialog/ViewMode")).toInt(), 0);
    // A stored number that names no view leaves the dialog's view as it was.
    Settings().setValue(QStringLiteral("XFolderDialog/ViewMode"), 3);
    CXFolderDialog odd(folder);
    odd.setViewMode(QFileDialog::List);
    odd.EnableViewModePersistence();
    EXPECT_EQ(odd.viewMode(), QFileDialog::List);
    odd.reject();
}

TEST_F(FolderPickerTest, TextsComeFromTheLanguageAndItsLookIsKept)
{
    const QString lang = Folder(QStringLiteral("program/lang"));
    for (const char* name : { "English", "Korean" }) {
        const QString file = QStringLiteral("/%1.lng").arg(QLatin1String(name));
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZQ_SOURCE_DIR "/resources/lang") + file, lang + file));
    }
    const QString card = Folder(QStringLiteral("look"));
    FakeVolumes fake(m_dir.filePath(QStringLiteral("fake")));
    FakeVolumes::Disk usb;
    usb.mountPoint = card;
    fake.Add(usb);
    const QString folder = Folder(QStringLiteral("look/NORMAL"));
    File(QStringLiteral("look/NORMAL/REC_2017_05_04_13_07_00_F.avi"));
    File(QStringLiteral("look/NORMAL/REC_2017_05_04_13_08_00_F.avi"));
    QSettings settings = Settings();
    settings.setValue(QStringLiteral("FolderHistory/Folder0000"), folder);
    settings.setValue(QStringLiteral("FolderHistory/Folder0001"), m_dir.filePath(QStringLiteral("look")));
    settings.sync();

    struct Expected {
        int language;
        const char* name;
        QString title, label, select;
    };
    const Expected languages[] = {
        { 0, "English", QStringLiteral("Open"), QStringLiteral("File name:"), QStringLiteral("Select") },
        { 1, "Korean", QStringLiteral("열기"), QStringLiteral("파일 이름:"), QStringLiteral("선택") },
    };
    for (const Expected& expected : languages) {
        zq::TheOptionFile().m_language = expected.language;
        zq::TheOptionFile().LoadLanguageDll();
        CXFolderDialog dialog(folder);
        dialog.resize(760, 480);
        dialog.show();
        ASSERT_TRUE(WaitForListing(dialog, 2));
        auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
        EXPECT_TRUE(WaitFor([&] {
            return list->model()
                ->index(0, 0, list->rootIndex())
                .data()
                .toString()
                .contains(QStringLiteral("_07_"));
        })) << "names in order, oldest first";
        EXPECT_EQ(dialog.windowTitle(), expected.title);
        EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("fileNameLabel"))->text(), expected.label);
        EXPECT_EQ(dialog.SelectButton()->text(), expected.select);
        EXPECT_TRUE(dialog.SelectButton()->isVisible());
        // Qt's own Open button is hidden; ours is the only accepting button.
        auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        int visibleButtons = 0;
        for (QAbstractButton* button : buttons->buttons())
            visibleButtons += button->isVisible() ? 1 : 0;
        EXPECT_EQ(visibleButtons, 2) << "Select and Cancel";

        // The combo lies below the file name box, inside the dialog and as wide as that box.
        const QRect combo = dialog.HistoryCombo()->geometry();
        const QRect nameBox = dialog.FileNameEdit()->geometry();
        EXPECT_GT(combo.top(), nameBox.bottom());
        EXPECT_EQ(combo.left(), nameBox.left());
        EXPECT_TRUE(dialog.rect().contains(combo));

        const QImage shot = dialog.grab().toImage();
        EXPECT_EQ(shot.size(), dialog.size());
        const QByteArray shotDir = qgetenv("ZQ_SCREENSHOT_DIR");
        if (!shotDir.isEmpty())
            shot.save(
                QString::fromLocal8Bit(shotDir) + QStringLiteral("/folder-picker-%1.png").arg(expected.name));
    }
}

} // namespace
