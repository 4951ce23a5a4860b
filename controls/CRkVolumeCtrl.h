#pragma once

#include "CRkWindow.h"

#include <QWidget>

namespace zq {

/// The volume bar: levels 0..10, an empty-bar bitmap with the filled-bar bitmap over the level's share.
/// A click sets the level from the pointer and posts kMsgVolumeChanged with the level to the parent.
class CRkVolumeCtrl : public CRkWindow {
    Q_OBJECT

public:
    static constexpr int kMaxLevel = 10;
    static constexpr int kInitialLevel = 5;

    CRkVolumeCtrl() = default;
    explicit CRkVolumeCtrl(QWidget* parent);

    /// Puts the bar on the parent at that rectangle and shows it.
    bool Create(QWidget* parent, int id, int x, int y, int width, int height);

    /// Stores the level clamped to 0..10 and shows it.
    void SetLevel(int level);
    int Level() const { return m_level; }
    /// Shows the bar as level 0 while keeping the stored level; showing a level again ends it.
    void DrawMuted();
    /// Shows the stored level (after DrawMuted).
    void DrawLevel();
    bool ShowsMuted() const { return m_showMuted; }

    /// The level a click at client x stands for.
    int LevelFromPoint(int x) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int m_level = kInitialLevel;
    bool m_showMuted = false;
};

} // namespace zq
