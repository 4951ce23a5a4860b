#include "ReportTexts.h"

#include "OptionFile.h"
#include "StringTable.h"

namespace zq {

ReportTexts ReportTexts::FromTable(const StringTable* table)
{
    ReportTexts texts;
    if (!table)
        return texts;
    texts.available = true;
    texts.documentName = table->Text(kDocumentNameId);
    texts.map = table->Text(kMapId);
    texts.latitude = table->Text(kLatitudeId);
    texts.longitude = table->Text(kLongitudeId);
    texts.video = table->Text(kVideoId);
    texts.capturedImages = table->Text(kCapturedImagesId);
    texts.frontCamera = table->Text(kFrontCameraId);
    texts.rearCamera = table->Text(kRearCameraId);
    texts.gpsInformation = table->Text(kGpsInformationId);
    texts.gsensorInformation = table->Text(kGsensorInformationId);
    texts.gsensorValues = table->Text(kGsensorValuesId);
    return texts;
}

ReportTexts ReportTexts::FromLanguageLibrary()
{
    COptionFile& options = TheOptionFile();
    if (!options.HasLanguageLibrary())
        options.LoadLanguageDll();
    return FromTable(options.LanguageLibrary());
}

} // namespace zq
