#pragma once

#include "CRkWindow.h"

namespace zq {

/// A panel that stands in the map's place: a grey fill with a picture in the interface language, centred.
/// The two stand-ins differ only in their window-class name and their pictures.
class CMapStandInWnd : public CRkWindow {
    Q_OBJECT
public:
    static constexpr QRgb kBackground = 0xFF333333; // RGB (51, 51, 51)

    /// Makes the panel a hidden child of `parent` at the rectangle; false without a parent.
    bool Create(QWidget* parent, int id, int x, int y, int width, int height);

    void SetLanguage(int language);
    int Language() const { return m_language; }
    /// The picture for the current language: 0 outside languages 0 to 11.
    int ImageId() const;
    /// The panel's picture at its current size.
    QImage Render() const;

protected:
    CMapStandInWnd(const char* className, int englishImageId, QWidget* parent);
    void paintEvent(QPaintEvent* event) override;

private:
    const char* m_className;
    int m_englishImageId;
    int m_language = 0;
};

} // namespace zq
