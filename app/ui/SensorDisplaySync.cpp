#include "SensorDisplaySync.h"

#include "CRkSpeedCtrl.h"
#include "CRkTextCtrl.h"
#include "OptionFile.h"
#include "SensorArrays.h"
#include "SensorLookup.h"

namespace zq {

SensorDisplaySync::SensorDisplaySync(
    CRkSpeedCtrl* speed, CRkTextCtrl* gsensorText, CRkTextCtrl* positionText, QObject* parent)
    : QObject(parent)
    , m_speed(speed)
    , m_gsensorText(gsensorText)
    , m_positionText(positionText)
{
}

void SensorDisplaySync::Update(qint64 positionMs, qint64 durationMs, bool normalLayout)
{
    const SensorValues v
        = LookupSensors(SensorSnapshot(), positionMs, durationMs, TheOptionFile().m_speedInMiles);
    emit markerMoved(positionMs, durationMs);
    m_speed->SetSpeed(v.speed, true);
    if (!normalLayout)
        return;
    if (v.hasAcceleration)
        m_gsensorText->SetAcceleration(v.x, v.y, v.z);
    m_gsensorText->SetHasData(v.hasAcceleration);
    m_latitude = v.hasPosition ? v.latitude : 0.0f;
    m_longitude = v.hasPosition ? v.longitude : 0.0f;
    m_positionText->SetCoordinates(m_latitude, m_longitude);
    emit positionChanged(m_latitude, m_longitude);
}

void SensorDisplaySync::Reset()
{
    m_speed->SetSpeed(0.0, true);
    m_gsensorText->SetHasData(false);
    m_latitude = m_longitude = 0.0f;
    m_positionText->SetCoordinates(0.0f, 0.0f);
    emit positionChanged(0.0f, 0.0f);
}

} // namespace zq
