#pragma once

#include <QDialog>

class QLabel;

namespace zq {

class CRkButtonCtrl;
class CRkTextCtrl;

/// The about box: the title image and OK button in the interface language, the program name and its
/// version. The owner sets the language (and what the hidden second button needs) before running it.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kIdOk = 1;
    static constexpr int kIdTitlePicture = 1098;
    static constexpr int kIdSecondButton = 1144;
    static constexpr int kIdTitleText = 1000;
    static constexpr int kIdVersionText = 1001;
    static constexpr int kSecondButtonNormalImage = 1336;
    static constexpr int kSecondButtonPressedImage = 1335;
    /// Message of the second button when the recording library is empty.
    static constexpr int kNoRecordingsText = 288;

    /// The language's images; 0 (no image) for a language outside 0..11.
    struct LanguageImages {
        int title = 0;
        int okNormal = 0;
        int okPressed = 0;
    };
    static LanguageImages ImagesForLanguage(int language);

    explicit CAboutDlg(QWidget* parent = nullptr);

    void SetLanguage(int language) { m_language = language; }
    int Language() const { return m_language; }
    /// How many recordings the library holds; the second button only speaks when there are none.
    void SetRecordingCount(int count) { m_recordingCount = count; }

    /// Sizes and centres the box and gives every child its images and place. Runs once, when the box is
    /// first shown; calling it again only redoes the same.
    void InitDialog();

    QLabel* TitlePicture() const { return m_title; }
    CRkButtonCtrl* OkButton() const { return m_ok; }
    CRkButtonCtrl* SecondButton() const { return m_second; }
    CRkTextCtrl* TitleText() const { return m_titleText; }
    CRkTextCtrl* VersionText() const { return m_versionText; }

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void OnSecondButton();

    int m_language = 0;
    int m_recordingCount = 0;
    bool m_initialised = false;
    QLabel* m_title;
    CRkButtonCtrl* m_ok;
    CRkButtonCtrl* m_second;
    CRkTextCtrl* m_titleText;
    CRkTextCtrl* m_versionText;
};

} // namespace zq
