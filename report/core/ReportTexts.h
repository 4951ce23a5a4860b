#pragma once

#include <QString>

namespace zq {

class StringTable;

/// The language texts a report prints, taken from a string table before any page is drawn, so the
/// drawing code reads no global state.
struct ReportTexts {
    static constexpr int kDocumentNameId = 57344; // the application title
    static constexpr int kMapId = 126;
    static constexpr int kLatitudeId = 128;
    static constexpr int kLongitudeId = 129;
    static constexpr int kVideoId = 200;
    static constexpr int kCapturedImagesId = 201;
    static constexpr int kFrontCameraId = 202;
    static constexpr int kRearCameraId = 203;
    static constexpr int kGpsInformationId = 204;
    static constexpr int kGsensorInformationId = 205;
    static constexpr int kGsensorValuesId = 206;

    /// False when there is no language library: the pages then keep their header and footer only.
    bool available = false;
    QString documentName;
    QString map;
    QString latitude;
    QString longitude;
    QString video;
    QString capturedImages;
    QString frontCamera;
    QString rearCamera;
    QString gpsInformation;
    QString gsensorInformation;
    QString gsensorValues;

    /// The texts of a table; a null table gives texts that are not available.
    static ReportTexts FromTable(const StringTable* table);
    /// The texts of the process's language library, loading it first when none is loaded.
    static ReportTexts FromLanguageLibrary();
};

} // namespace zq
