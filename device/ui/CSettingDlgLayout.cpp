// The controls of the settings dialog, their texts and their places in pixels.
#include "CSettingDlg.h"
#include "OptionFile.h"
#include "TextLookup.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace zq::device {

namespace {

struct Place {
    int id;
    QRect rect;
    QRect german; // taller two-line variant for the German texts; empty when the same
};

// Group boxes first, so that the controls created after them lie on top.
const Place kPlaces[] = {
    { 1061, { 5, 5, 883, 580 }, {} },
    { 1130, { 10, 25, 288, 79 }, {} },
    { 1131, { 20, 50, 258, 19 }, { 20, 40, 258, 29 } },
    { 1132, { 20, 74, 129, 19 }, {} },
    { 1129, { 154, 74, 129, 19 }, {} },
    { 1064, { 10, 109, 288, 79 }, {} },
    { 1077, { 20, 134, 258, 19 }, { 20, 124, 258, 29 } },
    { 1100, { 20, 158, 129, 19 }, {} },
    { 1031, { 154, 158, 129, 19 }, {} },
    { 1066, { 10, 193, 288, 79 }, {} },
    { 1080, { 20, 218, 258, 19 }, {} },
    { 1081, { 20, 242, 129, 19 }, {} },
    { 1038, { 154, 242, 129, 19 }, {} },
    { 1068, { 10, 277, 288, 79 }, {} },
    { 1084, { 20, 302, 258, 19 }, {} },
    { 1101, { 20, 326, 129, 19 }, {} },
    { 1042, { 154, 326, 129, 19 }, {} },
    { 1062, { 303, 25, 288, 79 }, {} },
    { 1074, { 313, 50, 258, 19 }, { 313, 40, 258, 29 } },
    { 1075, { 313, 74, 64, 19 }, { 313, 74, 51, 19 } },
    { 1028, { 382, 74, 128, 19 }, { 369, 74, 102, 19 } },
    { 1029, { 515, 74, 64, 19 }, { 476, 74, 102, 19 } },
    { 1091, { 303, 109, 288, 79 }, {} },
    { 1092, { 313, 134, 258, 19 }, {} },
    { 1055, { 313, 158, 258, 19 }, {} },
    { 1124, { 303, 193, 288, 79 }, {} },
    { 1125, { 313, 208, 258, 19 }, {} },
    { 1133, { 313, 226, 258, 19 }, {} },
    { 1126, { 313, 245, 129, 19 }, {} },
    { 1123, { 447, 245, 129, 19 }, {} },
    { 1063, { 303, 277, 288, 79 }, {} },
    { 1076, { 313, 312, 129, 19 }, {} },
    { 1030, { 447, 312, 129, 19 }, {} },
    { 1065, { 596, 25, 288, 79 }, {} },
    { 1078, { 606, 50, 129, 19 }, {} },
    { 1032, { 740, 50, 129, 19 }, {} },
    { 1079, { 606, 74, 129, 19 }, {} },
    { 1033, { 740, 74, 129, 19 }, {} },
    { 1067, { 596, 109, 288, 79 }, {} },
    { 1082, { 606, 134, 129, 19 }, {} },
    { 1035, { 740, 134, 129, 19 }, {} },
    { 1083, { 606, 158, 129, 19 }, {} },
    { 1036, { 740, 158, 129, 19 }, {} },
    { 1069, { 596, 193, 288, 79 }, {} },
    { 1037, { 606, 218, 129, 19 }, {} },
    { 1085, { 740, 218, 129, 19 }, {} },
    { 1041, { 606, 242, 129, 19 }, {} },
    { 1039, { 740, 242, 129, 19 }, {} },
    { 1070, { 596, 277, 288, 79 }, {} },
    { 1046, { 606, 297, 51, 19 }, {} },
    { 1086, { 662, 302, 46, 19 }, {} },
    { 1045, { 698, 302, 56, 19 }, {} },
    { 1047, { 759, 302, 56, 19 }, {} },
    { 1048, { 820, 302, 56, 19 }, {} },
    { 1087, { 662, 326, 46, 19 }, {} },
    { 1049, { 698, 326, 56, 19 }, {} },
    { 1050, { 759, 326, 56, 19 }, {} },
    { 1051, { 820, 326, 56, 19 }, {} },
    { 1071, { 10, 361, 870, 212 }, {} },
    { 1072, { 15, 381, 513, 91 }, {} },
    { 1088, { 25, 406, 483, 23 }, {} },
    { 1089, { 25, 439, 96, 23 }, { 25, 429, 192, 28 } },
    { 1040, { 126, 434, 288, 23 }, { 217, 434, 192, 23 } },
    { 1052, { 419, 434, 96, 23 }, { 414, 434, 96, 23 } },
    { 1073, { 15, 477, 513, 91 }, {} },
    { 1090, { 25, 502, 483, 28 }, {} },
    { 1054, { 25, 535, 96, 23 }, {} },
    { 1053, { 126, 535, 384, 23 }, {} },
    { 1059, { 533, 381, 342, 91 }, {} },
    { 1044, { 543, 416, 312, 23 }, {} },
    // The language list and the speed unit share the free corner below the rear-mirror group.
    { 1330, { 533, 477, 342, 91 }, {} },
    { 1329, { 543, 502, 200, 23 }, {} },
    { 1331, { 543, 535, 100, 23 }, {} },
    { 1332, { 653, 535, 100, 23 }, {} },
    { 1027, { 616, 588, 86, 25 }, {} },
    { 1, { 707, 588, 86, 25 }, {} },
    { 2, { 798, 588, 86, 25 }, {} },
};

constexpr int kGerman = 2;
constexpr int kSmallestFontPixels = 8;
// Room a check box or radio button needs besides its text (the indicator), and a push button's padding.
constexpr int kIndicatorPixels = 22;
constexpr int kButtonPaddingPixels = 10;

// Longer translations get a smaller font rather than being cut off in their fixed place.
void shrinkToFit(QWidget* control)
{
    QString text;
    int extra = 0;
    if (auto* label = qobject_cast<QLabel*>(control)) {
        if (label->wordWrap())
            return;
        text = label->text();
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        text = button->text();
        extra = qobject_cast<QPushButton*>(control) ? kButtonPaddingPixels : kIndicatorPixels;
    } else {
        return;
    }
    QFont font = control->font();
    while (font.pixelSize() > kSmallestFontPixels
        && QFontMetrics(font).horizontalAdvance(text) + extra > control->width()) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    control->setFont(font);
}

} // namespace

template <typename T> T* CSettingDlg::Add(int id, T* widget)
{
    widget->setObjectName(QStringLiteral("c%1").arg(id));
    m_controls.append({ id, widget });
    return widget;
}

QComboBox* CSettingDlg::AddList(int id, ChoiceList* list)
{
    auto* combo = Add(id, new QComboBox(this));
    m_lists.append({ combo, list });
    connect(combo, &QComboBox::currentIndexChanged, this, [this, list](int index) {
        if (!m_syncing)
            list->current = index;
    });
    return combo;
}

void CSettingDlg::CreateControls()
{
    // The places are those of a dialog drawn with a small system font, and group titles sit on the frame.
    QFont small = font();
    small.setPixelSize(kFontPixels);
    setFont(small);
    setStyleSheet(
        QStringLiteral("QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 7px; }"
                       "QGroupBox::title { subcontrol-origin: margin; left: 7px; padding: 0 3px; }"));
    auto group = [this](int id, const QString& text) { Add(id, new QGroupBox(text, this)); };
    auto label = [this](int id, const QString& text) {
        auto* l = Add(id, new QLabel(text, this));
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    };
    const QString lcdOff = QStringLiteral("LCD OFF");

    group(1061, Text(148));
    group(1130, Text(246));
    label(1131, Text(247));
    label(1132, Text(248));
    m_modelList = Add(1129, new QComboBox(this));
    group(1064, Text(153));
    label(1077, Text(154));
    label(1100, Text(241));
    AddList(1031, &m_model.trigger);
    group(1066, Text(177));
    label(1080, Text(178));
    label(1081, Text(234));
    AddList(1038, &m_model.powerOff);
    group(1068, lcdOff);
    label(1084, Text(176));
    label(1101, lcdOff);
    AddList(1042, &m_model.screenOff);
    group(1062, Text(149));
    label(1074, Text(150));
    label(1075, Text(151));
    m_cardList = Add(1028, new QComboBox(this));
    auto* format = Add(1029, new QPushButton(Text(152), this));
    group(1091, QStringLiteral("Night Vision"));
    label(1092, QStringLiteral("야간 카메라 동작모드를 설정합니다."));
    m_nightVision = Add(1055, new QCheckBox(QStringLiteral("Night Vision"), this));
    group(1124, Text(242));
    label(1125, Text(254));
    label(1133, Text(256));
    label(1126, Text(255));
    AddList(1123, &m_model.allocation);
    group(1063, QStringLiteral("주차모드"));
    label(1076, QStringLiteral("주차모드 설정"));
    AddList(1030, &m_model.parking);
    group(1065, Text(168));
    label(1078, Text(169));
    AddList(1032, &m_model.quality);
    label(1079, Text(173));
    AddList(1033, &m_model.channels);
    group(1067, Text(179));
    label(1082, Text(180));
    m_recordAudio = Add(1035, new QCheckBox(Text(181), this));
    label(1083, Text(182));
    AddList(1036, &m_model.volume);
    group(1069, Text(183));
    m_volt12 = Add(1037, new QRadioButton(Text(184), this));
    label(1085, Text(186));
    m_volt24 = Add(1041, new QRadioButton(Text(185), this));
    AddList(1039, &m_model.cutOff);
    group(1070, Text(187));
    m_clockBox = Add(1046, new QCheckBox(Text(188), this));
    label(1086, Text(136));
    AddList(1045, &m_model.year);
    AddList(1047, &m_model.month);
    AddList(1048, &m_model.day);
    label(1087, Text(137));
    AddList(1049, &m_model.hour);
    AddList(1050, &m_model.minute);
    AddList(1051, &m_model.second);
    group(1071, Text(189));
    group(1072, Text(190));
    label(1088, Text(191));
    label(1089, Text(192));
    m_saveFolder = Add(1040, new QLineEdit(this));
    auto* browse = Add(1052, new QPushButton(Text(193), this));
    group(1073, Text(194));
    label(1090, Text(195));
    m_playValueText = Add(1054, new QLabel(this));
    m_playValueText->setAlignment(Qt::AlignCenter);
    m_playValue = Add(1053, new QSlider(Qt::Horizontal, this));
    m_playValue->setRange(1, 10);
    group(1059, Text(211));
    m_rearMirror = Add(1044, new QCheckBox(Text(212), this));
    group(1330, QString());
    m_languageList = Add(1329, new QComboBox(this));
    m_languageList->addItems(LanguageNativeNames());
    m_kmh = Add(1331, new QRadioButton(QStringLiteral("km/h"), this));
    m_mph = Add(1332, new QRadioButton(QStringLiteral("mph"), this));
    auto* defaults = Add(1027, new QPushButton(Text(196), this));
    auto* ok = Add(1, new QPushButton(Text(103), this));
    auto* cancel = Add(2, new QPushButton(Text(143), this));
    ok->setDefault(true);

    // The speaker-mute box stays hidden: its state is only carried through setup.cfg.
    m_speakerMute = new QCheckBox(this);
    m_speakerMute->hide();
    m_controls.append({ 1127, m_speakerMute });

    // Radio buttons of different groups must not exclude each other.
    auto* battery = new QButtonGroup(this);
    battery->addButton(m_volt12);
    battery->addButton(m_volt24);
    auto* speed = new QButtonGroup(this);
    speed->addButton(m_kmh);
    speed->addButton(m_mph);

    connect(format, &QPushButton::clicked, this, &CSettingDlg::OnFormatCard);
    connect(browse, &QPushButton::clicked, this, &CSettingDlg::OnBrowseFolder);
    connect(defaults, &QPushButton::clicked, this, &CSettingDlg::OnDefaults);
    connect(ok, &QPushButton::clicked, this, &CSettingDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CSettingDlg::reject);
    connect(m_cardList, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_syncing)
            OnCardSelChange(index);
    });
    connect(m_modelList, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_syncing)
            OnModelSelChange(index);
    });
    connect(m_volt12, &QRadioButton::toggled, this, [this](bool on) {
        if (!m_syncing && on) {
            m_model.OnBattery(false);
            SyncFromModel();
        }
    });
    connect(m_volt24, &QRadioButton::toggled, this, [this](bool on) {
        if (!m_syncing && on) {
            m_model.OnBattery(true);
            SyncFromModel();
        }
    });
    connect(m_clockBox, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_syncing)
            OnClockBox(on);
    });
    connect(m_playValue, &QSlider::valueChanged, this, [this](int value) {
        m_playValueText->setText(QString::number(value));
        if (!m_syncing)
            m_model.playValue = value;
    });
    auto tick = [this](QAbstractButton* box, bool* field) {
        connect(box, &QAbstractButton::toggled, this, [this, field](bool on) {
            if (!m_syncing)
                *field = on;
        });
    };
    tick(m_recordAudio, &m_model.recordAudio);
    tick(m_nightVision, &m_model.nightVision);
    tick(m_rearMirror, &m_model.rearMirror);
    tick(m_mph, &m_model.speedInMiles);
    connect(m_saveFolder, &QLineEdit::textEdited, this,
        [this](const QString& text) { m_model.saveDirectory = text; });
    connect(m_languageList, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_syncing)
            m_model.language = index;
    });
}

void CSettingDlg::LayoutControls()
{
    setWindowTitle(Text(106));
    setFixedSize(kWidth, kHeight);
    if (QWidget* main = parentWidget()) {
        const QRect frame = main->geometry();
        move(frame.left() + (frame.width() - kWidth) / 2, frame.top() + (frame.height() - kHeight) / 2);
    }
    const bool german = m_options.m_language == kGerman;
    for (const Place& place : kPlaces) {
        QWidget* control = Control(place.id);
        if (!control)
            continue;
        const QRect rect = german && !place.german.isEmpty() ? place.german : place.rect;
        control->setGeometry(rect);
        // Labels of two lines' height break their text; one-line labels keep it on one line.
        if (auto* label = qobject_cast<QLabel*>(control))
            label->setWordWrap(rect.height() >= kTwoLinePixels);
        shrinkToFit(control);
    }
    // A mount root is longer than the list is wide: the open list shows it whole.
    m_cardList->view()->setMinimumWidth(kCardListPopupWidth);
}

} // namespace zq::device
