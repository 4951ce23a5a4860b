#pragma once

#include <QFileDialog>
#include <QStringList>
#include <optional>

class QLineEdit;
class QListView;
class QPushButton;
class QSettings;

namespace zq {

class CHistoryCombo;

/// The Open command's picker: Qt's own file dialog for AVI files with a combo of recently visited folders
/// below it. The user picks several files, or one folder (the one selected in the list, else the folder
/// shown); typing or choosing a folder in the combo jumps there without closing. "/" and the root of a
/// mount that is not removable are refused with "Select error"; a removable volume's root is handed on as
/// its mount root. History and view mode live in the "Corvane" settings.
class CXFolderDialog : public QFileDialog {
    Q_OBJECT
public:
    static constexpr int kMaxHistoryEntries = 50;
    static constexpr int kTitleText = 101;
    static constexpr int kFileNameLabelText = 227;
    static constexpr int kSelectButtonText = 199;

    /// An empty start folder opens the first folder of the history, else the home folder; an empty
    /// title takes the language's text 101.
    explicit CXFolderDialog(
        const QString& startFolder = {}, QWidget* parent = nullptr, const QString& title = {});
    ~CXFolderDialog() override;

    /// Runs the picker modally; the picked paths in selection order, or nothing when cancelled.
    static std::optional<QStringList> Pick(QWidget* parent, const QString& startFolder = {});

    /// Restores the view mode stored under "XFolderDialog/ViewMode" and stores it again on closing.
    void EnableViewModePersistence();

    /// The folder or path last shown in the combo.
    const QString& SelectedPath() const { return m_selectedPath; }
    /// The paths of the current selection; after Select, the picked paths as handed on.
    const QStringList& SelectedPaths() const { return m_selection; }

    CHistoryCombo* HistoryCombo() const { return m_history; }
    QPushButton* SelectButton() const { return m_selectButton; }
    QLineEdit* FileNameEdit() const { return m_fileNameEdit; }

    void accept() override;
    void done(int result) override;

    /// The settings object of the picker (organisation and application "Corvane").
    static std::unique_ptr<QSettings> OpenSettings();

private:
    void BuildExtension();
    void AddVolumesToSidebar();
    void ApplyTexts(const QString& title);
    void OnFolderChanged(const QString& folder);
    void OnSelectionChanged();
    void JumpTo(const QString& path, bool fromEdit);
    QStringList ListSelection() const;
    QStringList TypedPaths() const;
    void ShowSelectError();

    CHistoryCombo* m_history = nullptr;
    QPushButton* m_selectButton = nullptr;
    QLineEdit* m_fileNameEdit = nullptr;
    QListView* m_listView = nullptr;
    QString m_selectedPath;
    QStringList m_selection;
    bool m_persistViewMode = false;
};

} // namespace zq
