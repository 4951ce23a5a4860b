// Repaints the controls that playback redraws five times a second (the position slider, the speed slider,
// the volume control) with the skin images compiled into the program, and compares a repaint that finds
// its images decoded with one that decodes and colour-keys them first, as every repaint once did.
//
//   zq_bench_skin [--repaints N]
#include "CRkSimpleSliderCtrl.h"
#include "CRkSliderCtrl.h"
#include "CRkVolumeCtrl.h"
#include "SkinDraw.h"

#include <QApplication>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kDefaultRepaints = 400;
constexpr int kBatches = 9;

/// Microseconds per repaint, median of the batches; `beforeEach` runs untimed-in-spirit before each one
/// (it only empties the image cache, which costs next to nothing).
double MicrosecondsPerRepaint(QWidget& widget, int repaints, const std::function<void()>& beforeEach)
{
    QImage target(widget.size(), QImage::Format_RGB32);
    std::vector<double> batches;
    for (int batch = 0; batch < kBatches; ++batch) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < repaints; ++i) {
            beforeEach();
            widget.render(&target);
        }
        batches.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count()
            / repaints);
    }
    std::sort(batches.begin(), batches.end());
    return batches[batches.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int repaints = kDefaultRepaints;
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--repaints"))
        repaints = std::max(1, args[2].toInt());
    if (zq::GetSkinResourceKind(1034) != 1) {
        std::fprintf(stderr, "the skin images are not compiled in\n");
        return 1;
    }

    zq::CRkSliderCtrl position;
    position.setGeometry(0, 0, 600, 30);
    position.SetImages(1034, 1036);
    position.setRange(0, 60000);
    position.setValue(25000);
    zq::CRkSimpleSliderCtrl speed;
    speed.SetStandardSize();
    speed.setRange(0, 100);
    speed.setValue(50);
    speed.SetImages(1040, 1042);
    zq::CRkVolumeCtrl volume;
    volume.setGeometry(0, 0, 80, 16);
    volume.SetLevel(7);

    const QString root = zq::SkinResourceInstance();
    const auto uncached = [&root] { zq::SetSkinResourceInstance(root); }; // drops every decoded image
    const auto cached = [] {};
    std::printf("repaint of a control, microseconds (median of %d batches of %d)\n", kBatches, repaints);
    std::printf("%-24s %12s %12s %8s\n", "control", "decoding", "cached", "ratio");
    const std::pair<const char*, QWidget*> controls[]
        = { { "position slider", &position }, { "speed slider (keyed)", &speed }, { "volume", &volume } };
    for (const auto& [name, widget] : controls) {
        const double before = MicrosecondsPerRepaint(*widget, repaints, uncached);
        const double after = MicrosecondsPerRepaint(*widget, repaints, cached);
        std::printf("%-24s %12.1f %12.1f %8.2f\n", name, before, after, before / after);
    }
    return 0;
}
