#include "CAboutDlg.h"
#include "CGSensorData.h"
#include "CRkGsensorCtrl.h"
#include "CRkSpeedCtrl.h"
#include "CRkTextCtrl.h"
#include "Gallery.h"
#include "OptionFile.h"
#include "ProgramFolder.h"
#include "SkinDraw.h"
#include "TestSupport.h"

#include <QPainter>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

using namespace zq;

namespace {

constexpr int kCaptionWidth = 210;
constexpr int kGap = 8;

// The pictures in rows, each with a caption on the left.
class Sheet {
public:
    void Add(const QString& caption, const QImage& picture) { m_rows.append({ caption, picture }); }

    QImage Compose() const
    {
        int height = kGap;
        for (const auto& row : m_rows)
            height += std::max(row.second.height(), 16) + kGap;
        QImage sheet(1280, height, QImage::Format_RGB32);
        sheet.fill(QColor(60, 60, 70));
        QPainter painter(&sheet);
        painter.setFont(QFont(QStringLiteral("Liberation Sans"), 9));
        painter.setPen(Qt::white);
        int y = kGap;
        for (const auto& row : m_rows) {
            painter.drawText(QRect(kGap, y, kCaptionWidth - kGap, 16), Qt::AlignVCenter, row.first);
            painter.drawImage(kCaptionWidth, y, row.second);
            y += std::max(row.second.height(), 16) + kGap;
        }
        return sheet;
    }

private:
    QVector<QPair<QString, QImage>> m_rows;
};

QImage Text(int kind, int width, int height, const QColor& background,
    const std::function<void(CRkTextCtrl&)>& setup = {})
{
    CRkTextCtrl ctrl;
    ctrl.resize(width, height);
    ctrl.SetKind(kind);
    ctrl.SetLabels(CRkTextCtrl::LanguageLabels());
    ctrl.SetBackground(background);
    if (setup)
        setup(ctrl);
    return ctrl.Render();
}

void AddTexts(Sheet& sheet, const QString& language)
{
    const QColor plain(10, 10, 10), panel(20, 20, 20), mapDialog(30, 30, 30);
    sheet.Add(language + " kind 1", Text(1, 400, 20, plain, [](CRkTextCtrl& c) {
        c.SetPosition(61999);
        c.SetDuration(60000);
        c.SetRate(0.5f);
    }));
    sheet.Add("kind 2 before data / with data", Text(2, 400, 20, plain));
    sheet.Add({}, Text(2, 400, 20, plain, [](CRkTextCtrl& c) {
        c.SetHasData(true);
        c.SetAcceleration(-0.03125, 1.0, 0.5);
    }));
    sheet.Add("kind 3 / 4 (270 px)", Text(3, 270, 20, panel));
    sheet.Add({}, Text(4, 270, 20, panel, [](CRkTextCtrl& c) { c.SetCoordinates(37.558333f, 126.983333f); }));
    sheet.Add("kind 5 / 6", Text(5, 280, 20, mapDialog));
    sheet.Add(
        {}, Text(6, 400, 20, mapDialog, [](CRkTextCtrl& c) { c.SetCoordinates(-33.856784f, 151.215297f); }));
    sheet.Add("kind 7 (92 px)", Text(7, 92, 20, panel));
    sheet.Add("kind 8 / 9", Text(8, 230, 20, plain));
    sheet.Add({}, Text(9, 200, 20, plain));
    sheet.Add("kind 10", Text(10, 400, 50, plain));
    sheet.Add("kind 11", Text(11, 400, 50, plain));
}

void SelectLanguage(int language)
{
    TheOptionFile().m_language = language;
    TheOptionFile().LoadLanguageDll();
}

} // namespace

QImage zq::RenderSensorsGallery()
{
    // The build's own string tables and skin images.
    SetProgramFolder(zq::test::bundleDir());
    Sheet sheet;
    for (int language : { 0, 1 }) {
        SelectLanguage(language);
        AddTexts(sheet, language == 0 ? "English" : "Korean");
    }
    SelectLanguage(0);
    sheet.Add("kind 0", Text(0, 400, 20, QColor(10, 10, 10)));

    CRkGsensorCtrl graph;
    graph.resize(730, 97);
    sheet.Add("graph, no recording", graph.Render());
    QVector<CGSensorData> samples(600);
    for (int i = 0; i < samples.size(); ++i) {
        const double t = i / 600.0;
        samples[i] = { int(20 * std::sin(t * 12.0)) + (i == 300 ? 60 : 0), int(10 * std::cos(t * 7.0)),
            int(32 + 6 * std::sin(t * 30.0)) };
    }
    graph.SetSamples(samples);
    sheet.Add("graph, 600 samples, a jolt", graph.Render());
    graph.SetSamples({ CGSensorData { 32, 0, -32 } });
    sheet.Add("graph, one sample", graph.Render());
    graph.resize(41, 97);
    sheet.Add("graph, width 41", graph.Render());

    CRkSpeedCtrl speed;
    speed.resize(LoadSkinBitmap(20011).isNull() ? QSize(80, 40) : LoadSkinBitmap(20011).size());
    const QList<double> speeds = { 0.0, 0.57, 9.99, 10.0, 52.34, 123.4, 0.0, 88.8 };
    QImage row(int(speeds.size()) * (speed.width() + kGap), speed.height(), QImage::Format_RGB32);
    row.fill(QColor(60, 60, 70));
    QPainter painter(&row);
    for (int i = 0; i < speeds.size(); ++i) {
        speed.SetSpeedInMiles(i >= 6);
        speed.SetSpeed(speeds[i], false);
        painter.drawImage(i * (speed.width() + kGap), 0, speed.Render());
    }
    painter.end();
    sheet.Add("speed 0 .57 9.99 10 52.34 123.4 km/h, 0 88.8 mph", row);

    for (int language : { 0, 1, 12 }) {
        CAboutDlg about;
        about.SetLanguage(language);
        about.InitDialog();
        sheet.Add(QStringLiteral("about box, language %1").arg(language), about.grab().toImage());
    }
    SetProgramFolder({});
    TheOptionFile().LoadLanguageDll();

    return sheet.Compose();
}
