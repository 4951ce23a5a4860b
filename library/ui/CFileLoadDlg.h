#pragma once

#include <QDialog>
#include <functional>

namespace zq {

class CRkTextCtrl;

/// The small modal window shown while a source is loaded, and once at start-up as a notice: three lines
/// of text for a few seconds, then (after an open or a drop) the owner's fill, then it closes itself.
class CFileLoadDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kModeOpened = 2;
    static constexpr int kModeDropped = 3;
    static constexpr int kModeNotice = 5;
    static constexpr int kNoticeMs = 5000;
    static constexpr int kLoadingMs = 3000;
    static constexpr int kTextId = 1000;
    static constexpr int kNoticeTitleText = 273;
    static constexpr int kLoadingTitleText = 285;

    explicit CFileLoadDlg(QWidget* parent = nullptr);

    void SetMode(int mode) { m_mode = mode; }
    int Mode() const { return m_mode; }
    void SetPath(const QString& path) { m_path = path; }
    const QString& Path() const { return m_path; }
    void SetLanguage(int language) { m_language = language; }
    /// What the timer does for modes 2 and 3; the notice closes without it.
    void SetFill(std::function<void()> fill) { m_fill = std::move(fill); }

    /// The dialog's width for an interface language.
    static int WidthForLanguage(int language);
    /// How long the text stays before the work (5000 ms for the notice, else 3000 ms).
    static int DelayForMode(int mode);

    CRkTextCtrl* Text() const { return m_text; }

protected:
    void showEvent(QShowEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void Prepare();

    int m_mode = kModeNotice;
    int m_language = 0;
    int m_timer = 0;
    QString m_path;
    CRkTextCtrl* m_text;
    std::function<void()> m_fill;
};

} // namespace zq
