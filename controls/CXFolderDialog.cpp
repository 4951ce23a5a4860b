#include "CXFolderDialog.h"

#include "CHistoryCombo.h"
#include "FolderPickRule.h"
#include "TextLookup.h"
#include "Volumes.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QStyle>
#include <QUrl>

namespace zq {

namespace {

const QString kOrganisation = QStringLiteral("Corvane");
const QString kApplication = QStringLiteral("Corvane");
const QString kHistorySection = QStringLiteral("FolderHistory");
const QString kHistoryPrefix = QStringLiteral("Folder");
const QString kViewModeKey = QStringLiteral("XFolderDialog/ViewMode");
// The stored numbers are fixed here rather than taken from Qt's enum, so a stored file keeps its meaning:
// files written so far hold 0 for the detail view and 1 for the list.
constexpr int kStoredDetailView = 0;
constexpr int kStoredListView = 1;
const QString kNameFilter = QStringLiteral(" avi (*.avi)");
const QString kSelectError = QStringLiteral("Select error");

// The language's text, or the fallback when the table or the text is missing.
QString TextOr(int id, const QString& fallback)
{
    QString text;
    return LookupText(id, &text) && !text.isEmpty() ? text : fallback;
}

// A typed name stands for a recording with or without its ".avi".
bool TypedPathExists(const QString& path)
{
    return QFileInfo::exists(path) || QFileInfo::exists(path + QStringLiteral(".avi"));
}

} // namespace

CXFolderDialog::CXFolderDialog(const QString& startFolder, QWidget* parent, const QString& title)
    : QFileDialog(parent)
{
    // Qt's own dialog, so that the history combo can be added and the list read.
    setOption(QFileDialog::DontUseNativeDialog, true);
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::ExistingFiles);
    setNameFilter(kNameFilter);

    m_fileNameEdit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    m_listView = findChild<QListView*>(QStringLiteral("listView"));
    BuildExtension();
    ApplyTexts(title);

    const std::unique_ptr<QSettings> settings = OpenSettings();
    m_history->SetMaxHistoryItems(kMaxHistoryEntries);
    m_history->LoadHistory(*settings);

    QString folder = startFolder;
    if (folder.isEmpty() && m_history->count() > 0 && QFileInfo(m_history->itemText(0)).isDir())
        folder = m_history->itemText(0);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    AddVolumesToSidebar();
    connect(this, &QFileDialog::directoryEntered, this, &CXFolderDialog::OnFolderChanged);
    setDirectory(folder);
    OnFolderChanged(directory().absolutePath());
    if (m_listView && m_listView->selectionModel()) {
        connect(m_listView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CXFolderDialog::OnSelectionChanged);
    }
    connect(
        m_history, &CHistoryCombo::EntryChosen, this, [this](const QString& path) { JumpTo(path, false); });
    connect(m_history, &CHistoryCombo::EditLeft, this, [this](const QString& path) { JumpTo(path, true); });
}

CXFolderDialog::~CXFolderDialog() = default;

std::unique_ptr<QSettings> CXFolderDialog::OpenSettings()
{
    return std::make_unique<QSettings>(kOrganisation, kApplication);
}

std::optional<QStringList> CXFolderDialog::Pick(QWidget* parent, const QString& startFolder)
{
    CXFolderDialog dialog(startFolder, parent);
    dialog.EnableViewModePersistence();
    if (dialog.exec() != QDialog::Accepted || dialog.SelectedPaths().isEmpty())
        return std::nullopt;
    return dialog.SelectedPaths();
}

void CXFolderDialog::BuildExtension()
{
    m_history = new CHistoryCombo(this);
    m_history->setObjectName(QStringLiteral("historyCombo"));
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("historyIcon"));
    const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_DirOpenIcon, nullptr, this).pixmap(iconSize, iconSize));
    icon->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // The combo takes a row of its own under the file name and type, as wide as they are.
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        const int row = grid->rowCount();
        grid->addWidget(icon, row, 0);
        grid->addWidget(m_history, row, 1);
    } else if (layout()) {
        layout()->addWidget(m_history);
        icon->hide();
    }

    // Select is a button of our own: Qt's Open button goes dark with nothing selected and opens a
    // selected folder instead of picking it.
    auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    m_selectButton = new QPushButton(this);
    m_selectButton->setObjectName(QStringLiteral("selectButton"));
    if (buttons) {
        // Qt looks its Open button up each time and leaves it alone once it is gone.
        for (QAbstractButton* button : buttons->buttons()) {
            if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole) {
                buttons->removeButton(button);
                delete button;
            }
        }
        buttons->addButton(m_selectButton, QDialogButtonBox::ActionRole);
    }
    m_selectButton->setDefault(true);
    connect(m_selectButton, &QPushButton::clicked, this, &CXFolderDialog::accept);
}

void CXFolderDialog::AddVolumesToSidebar()
{
    // Cards and sticks sit beside the computer and the home folder, one click away as drives are.
    QList<QUrl> urls = sidebarUrls();
    for (const platform::Volume& volume : platform::Volumes::Removable()) {
        const QUrl url = QUrl::fromLocalFile(QDir::cleanPath(volume.root));
        if (!urls.contains(url))
            urls.append(url);
    }
    setSidebarUrls(urls);
}

void CXFolderDialog::ApplyTexts(const QString& title)
{
    const QString shownTitle = title.isEmpty() ? Text(kTitleText) : title;
    if (!shownTitle.isEmpty())
        setWindowTitle(shownTitle);
    QString label;
    if (LookupText(kFileNameLabelText, &label))
        setLabelText(QFileDialog::FileName, label);
    const QString openText = labelText(QFileDialog::Accept);
    m_selectButton->setText(TextOr(kSelectButtonText, openText.isEmpty() ? tr("&Open") : openText));
}

void CXFolderDialog::EnableViewModePersistence()
{
    m_persistViewMode = true;
    const std::unique_ptr<QSettings> settings = OpenSettings();
    bool ok = false;
    const int mode = settings->value(kViewModeKey).toInt(&ok);
    if (ok && (mode == kStoredDetailView || mode == kStoredListView))
        setViewMode(mode == kStoredListView ? QFileDialog::List : QFileDialog::Detail);
}

void CXFolderDialog::OnFolderChanged(const QString& folder)
{
    m_selectedPath = folder;
    m_selection = QStringList { folder };
    m_history->setEditText(folder);
}

void CXFolderDialog::OnSelectionChanged()
{
    const QStringList selected = ListSelection();
    if (selected.isEmpty()) {
        m_selection = QStringList { m_selectedPath };
        return;
    }
    m_selection = selected;
    m_history->setEditText(selected.last());
    // Qt leaves the file-name box as it was when only folders are selected; a stale name there would
    // be picked instead of the folders.
    const bool onlyFolders = std::all_of(
        selected.begin(), selected.end(), [](const QString& path) { return QFileInfo(path).isDir(); });
    if (onlyFolders && m_fileNameEdit && !m_fileNameEdit->hasFocus())
        m_fileNameEdit->clear();
}

QStringList CXFolderDialog::ListSelection() const
{
    QStringList paths;
    if (!m_listView || !m_listView->selectionModel())
        return paths;
    for (const QModelIndex& index : m_listView->selectionModel()->selectedRows())
        paths.append(index.data(QFileSystemModel::FilePathRole).toString());
    return paths;
}

void CXFolderDialog::JumpTo(const QString& path, bool fromEdit)
{
    const QFileInfo info(path);
    // The file-name box keeps what the user had typed there.
    const QString typed = m_fileNameEdit ? m_fileNameEdit->text() : QString();
    if (info.isDir()) {
        setDirectory(info.absoluteFilePath());
    } else if (info.exists()) {
        setDirectory(info.absolutePath());
        selectFile(info.fileName());
    }
    if (m_fileNameEdit && !info.isFile())
        m_fileNameEdit->setText(typed);
    if (fromEdit)
        m_selectedPath = path;
}

QStringList CXFolderDialog::TypedPaths() const
{
    QStringList paths;
    const QString text = m_fileNameEdit ? m_fileNameEdit->text().trimmed() : QString();
    if (text.isEmpty())
        return paths;
    // Several names stand in quotes, as the dialog writes them for a multiple selection.
    QStringList names;
    if (text.contains(QLatin1Char('"'))) {
        static const QRegularExpression quoted(QStringLiteral("\"([^\"]+)\""));
        for (const QRegularExpressionMatch& match : quoted.globalMatch(text))
            names.append(match.captured(1));
    } else {
        names.append(text);
    }
    const QDir folder = directory();
    for (const QString& name : names)
        paths.append(QDir::cleanPath(folder.absoluteFilePath(name)));
    return paths;
}

void CXFolderDialog::accept()
{
    QStringList chosen = ListSelection();
    const QStringList typed = TypedPaths();
    QStringList selectedFiles;
    for (const QString& path : chosen) {
        if (!QFileInfo(path).isDir())
            selectedFiles.append(QDir::cleanPath(path));
    }
    // Names typed in the file-name box count when they are not just the files selected in the list.
    if (!typed.isEmpty()
        && QSet<QString>(typed.begin(), typed.end())
            != QSet<QString>(selectedFiles.begin(), selectedFiles.end())) {
        for (const QString& path : typed) {
            if (QFileInfo(path).isDir()) {
                setDirectory(path);
                m_fileNameEdit->clear();
                return;
            }
            if (!TypedPathExists(path)) {
                QFileDialog::accept(); // Qt's own "not found" message; the dialog stays
                return;
            }
        }
        chosen = typed;
    }
    if (chosen.isEmpty())
        chosen = QStringList { directory().absolutePath() };

    QStringList picked;
    for (const QString& path : chosen) {
        const PickedPathCheck check = CheckPickedPath(path);
        if (!check.accepted) {
            ShowSelectError();
            return;
        }
        picked.append(check.path);
    }

    // The history keeps folders: picked files stand for the folder they lie in.
    const QFileInfo last(picked.last());
    m_history->setEditText(last.isDir() ? picked.last() : last.absolutePath());
    const std::unique_ptr<QSettings> settings = OpenSettings();
    m_history->SaveHistory(*settings);
    m_selection = picked;
    QDialog::accept();
}

void CXFolderDialog::done(int result)
{
    if (m_persistViewMode) {
        const std::unique_ptr<QSettings> settings = OpenSettings();
        settings->setValue(
            kViewModeKey, viewMode() == QFileDialog::List ? kStoredListView : kStoredDetailView);
    }
    QFileDialog::done(result);
}

void CXFolderDialog::ShowSelectError()
{
    QMessageBox box(QMessageBox::NoIcon, windowTitle(), kSelectError, QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("selectErrorBox"));
    box.exec();
}

} // namespace zq
