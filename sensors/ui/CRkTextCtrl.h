#pragma once

#include "CRkWindow.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QVector>
#include <QWidget>

namespace zq {

/// The one owner-drawn line of information text: playback time and rate, G-sensor values, GPS position,
/// captions, the about box's title and version and the loading dialog's message. The kind chosen by
/// the owner selects what is drawn; the values and the language texts are pushed by the owner and drawn on
/// the next paint. Painting reads members only: the owner pushes new texts after a change of language.
class CRkTextCtrl : public CRkWindow {
    Q_OBJECT
public:
    static constexpr int kKindNone = 0;
    static constexpr int kKindTimeAndRate = 1;
    static constexpr int kKindGsensor = 2;
    static constexpr int kKindMapCaption = 3;
    static constexpr int kKindPosition = 4;
    static constexpr int kKindMapDialogCaption = 5;
    static constexpr int kKindMapDialogPosition = 6;
    static constexpr int kKindListCaption = 7;
    static constexpr int kKindAboutTitle = 8;
    static constexpr int kKindAboutVersion = 9;
    static constexpr int kKindLoadingSearch = 10;
    static constexpr int kKindLoadingNotice = 11;

    /// One piece of text, drawn from its top-left corner.
    struct Run {
        QPoint origin;
        QColor colour;
        QString text;
    };

    explicit CRkTextCtrl(QWidget* parent = nullptr);

    /// Makes the control a visible child of `parent` at the rectangle; false without a parent.
    bool Create(QWidget* parent, int id, int x, int y, int width, int height);

    void SetKind(int kind);
    int Kind() const { return m_kind; }
    /// The language texts, by text identifier. A kind that needs a text missing here draws nothing (what
    /// the viewer shows without a language table); an empty text is drawn as empty.
    void SetLabels(const QHash<int, QString>& labels);
    const QHash<int, QString>& Labels() const { return m_labels; }
    /// Every text any kind draws, from the current language table, for an owner to push: a text the table
    /// lacks is empty; no table at all gives no texts.
    static QHash<int, QString> LanguageLabels();

    void SetBackground(const QColor& colour);
    QColor Background() const { return m_background; }
    /// Set while a recording is loaded; without it the G-sensor kind shows "-" for each axis.
    void SetHasData(bool hasData);
    bool HasData() const { return m_hasData; }
    void SetDuration(int durationMs);
    int Duration() const { return m_durationMs; }
    void SetPosition(int positionMs);
    int Position() const { return m_positionMs; }
    void SetRate(float rate);
    float Rate() const { return m_rate; }
    /// Accelerations in g (the owner converts the recorder's 1/32 g counts).
    void SetAcceleration(double x, double y, double z);
    void SetCoordinates(float latitudeDegrees, float longitudeDegrees);
    float Latitude() const { return m_latitude; }
    float Longitude() const { return m_longitude; }

    /// The font height in pixels of a kind (13 when the kind has none of its own).
    static int FontPixelHeight(int kind);
    /// What the current kind draws now, with the language texts as they are at this moment. Empty for
    /// kind 0, for an unknown kind, and for kinds that need a language text when no table is loaded.
    QVector<Run> Runs() const;
    /// The control's picture at its current size: the background and the runs.
    QImage Render() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_kind = kKindNone;
    bool m_hasData = false;
    int m_durationMs = 0;
    int m_positionMs = 0;
    float m_rate = 1.0f;
    double m_x = 0.0;
    double m_y = 0.0;
    double m_z = 0.0;
    float m_latitude = 0.0f;
    float m_longitude = 0.0f;
    QColor m_background;
    QHash<int, QString> m_labels;
};

} // namespace zq
