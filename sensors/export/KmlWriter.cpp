#include "KmlWriter.h"

#include "FixTime.h"
#include "XmlText.h"

#include <QXmlStreamWriter>

namespace zq {

namespace {

const QString kKmlNamespace = QStringLiteral("http://www.opengis.net/kml/2.2");
const QString kTrackStyle = QStringLiteral("track");
const QString kTrackColour = QStringLiteral("ff0000ff"); // aabbggrr: opaque red
const QString kTrackWidth = QStringLiteral("4");

struct TripFix {
    const ExportRecording* recording = nullptr;
    const CGPSData* fix = nullptr;
};

QString Coordinates(const CGPSData& fix)
{
    return DegreesText(LongitudeDegrees(fix)) + u',' + DegreesText(LatitudeDegrees(fix));
}

class KmlDocument {
public:
    explicit KmlDocument(QIODevice* device)
        : m_xml(device)
    {
        m_xml.setAutoFormatting(true);
        m_xml.setAutoFormattingIndent(1);
    }

    bool Write(const QVector<ExportRecording>& recordings)
    {
        m_xml.writeStartDocument();
        m_xml.writeDefaultNamespace(kKmlNamespace);
        Start("kml");
        Start("Document");
        if (!recordings.isEmpty())
            Text("name", XmlText(TripName(recordings)));
        WriteStyle();
        Start("Folder");
        Text("name", QStringLiteral("Recordings"));
        TripFix first;
        TripFix last;
        for (const ExportRecording& recording : recordings) {
            QVector<const CGPSData*> fixes;
            for (const CGPSData& fix : recording.records.gps) {
                if (HasMapPosition(fix))
                    fixes.append(&fix);
            }
            if (fixes.isEmpty())
                continue;
            if (!first.fix)
                first = { &recording, fixes.first() };
            last = { &recording, fixes.last() };
            WriteRecording(recording, fixes);
        }
        End(); // Folder
        if (first.fix) {
            WriteEndPoint(QStringLiteral("Start"), first);
            WriteEndPoint(QStringLiteral("End"), last);
        }
        End(); // Document
        End(); // kml
        m_xml.writeEndDocument();
        return !m_xml.hasError();
    }

private:
    void Start(const char* name) { m_xml.writeStartElement(kKmlNamespace, QLatin1String(name)); }
    void End() { m_xml.writeEndElement(); }
    void Text(const char* name, const QString& text)
    {
        m_xml.writeTextElement(kKmlNamespace, QLatin1String(name), text);
    }

    void WriteStyle()
    {
        Start("Style");
        m_xml.writeAttribute(QStringLiteral("id"), kTrackStyle);
        Start("LineStyle");
        Text("color", kTrackColour);
        Text("width", kTrackWidth);
        End();
        End();
    }

    /// A time span from the first to the last fix that has a time; nothing when none has.
    void WriteTimeSpan(const QVector<const CGPSData*>& fixes)
    {
        std::optional<QDateTime> begin;
        std::optional<QDateTime> end;
        for (const CGPSData* fix : fixes) {
            if (const std::optional<QDateTime> time = FixTimeUtc(*fix)) {
                if (!begin)
                    begin = time;
                end = time;
            }
        }
        if (!begin)
            return;
        Start("TimeSpan");
        Text("begin", IsoUtc(begin));
        Text("end", IsoUtc(end));
        End();
    }

    void WriteRecording(const ExportRecording& recording, const QVector<const CGPSData*>& fixes)
    {
        Start("Placemark");
        Text("name", XmlText(recording.name));
        WriteTimeSpan(fixes);
        Text("styleUrl", u'#' + kTrackStyle);
        if (fixes.size() == 1) {
            // A line needs two positions.
            Start("Point");
            Text("coordinates", Coordinates(*fixes.first()));
            End();
        } else {
            Start("LineString");
            Text("tessellate", QStringLiteral("1"));
            QStringList points;
            for (const CGPSData* fix : fixes)
                points.append(Coordinates(*fix));
            Text("coordinates", points.join(u' '));
            End();
        }
        End();
    }

    void WriteEndPoint(const QString& name, const TripFix& at)
    {
        Start("Placemark");
        Text("name", name);
        const std::optional<QDateTime> time = FixTimeUtc(*at.fix);
        QString description = XmlText(at.recording->name);
        if (time)
            description += u' ' + IsoUtc(time);
        Text("description", description);
        if (time) {
            Start("TimeStamp");
            Text("when", IsoUtc(time));
            End();
        }
        Start("Point");
        Text("coordinates", Coordinates(*at.fix));
        End();
        End();
    }

    QXmlStreamWriter m_xml;
};

} // namespace

bool WriteKml(const QVector<ExportRecording>& recordings, QIODevice* device)
{
    return KmlDocument(device).Write(recordings);
}

} // namespace zq
