// Renders every control of the program in its states onto one picture for a person to look at:
// gallery.png in the build folder, drawn with the skin images and string tables the build ships.
#include "Gallery.h"

#include "SkinDraw.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

TEST(Gallery, EveryControlInItsStates)
{
    ASSERT_NE(zq::GetSkinResourceKind(19191), 0) << "the program has no skin images compiled in";
    const QImage controls = zq::RenderControlsGallery();
    const QImage sensors = zq::RenderSensorsGallery();
    ASSERT_FALSE(controls.isNull());
    ASSERT_FALSE(sensors.isNull());

    QImage gallery(std::max(controls.width(), sensors.width()), controls.height() + sensors.height(),
        QImage::Format_RGB32);
    gallery.fill(QColor(10, 10, 10));
    QPainter painter(&gallery);
    painter.drawImage(0, 0, controls);
    painter.drawImage(0, controls.height(), sensors);
    painter.end();

    const QString path = QStringLiteral(ZQ_BINARY_DIR "/gallery.png");
    ASSERT_TRUE(gallery.save(path, "PNG"));
    EXPECT_EQ(QImage(path).size(), gallery.size());
}

} // namespace
