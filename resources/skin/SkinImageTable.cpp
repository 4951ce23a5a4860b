#include "SkinImageTable.h"

#include <algorithm>
#include <array>
#include <vector>

namespace zq {
namespace {

using K = SkinKind;
using S = SkinState;

// Images that are the same in every language.
constexpr SkinImage kCommonImages[] = {
    // Top bar, 32 × 31: normal, pressed, hover (and disabled where the button is ever drawn disabled).
    { 19101, K::Bmp, 32, 31, "open", S::Normal, -1 },
    { 19102, K::Bmp, 32, 31, "open", S::Pressed, -1 },
    { 19103, K::Bmp, 32, 31, "open", S::Hover, -1 },
    { 19294, K::Bmp, 32, 31, "merge", S::Normal, -1 },
    { 19295, K::Bmp, 32, 31, "merge", S::Pressed, -1 },
    { 19296, K::Bmp, 32, 31, "merge", S::Hover, -1 },
    { 19297, K::Bmp, 32, 31, "merge", S::Disabled, -1 },
    { 19111, K::Bmp, 32, 31, "capture", S::Normal, -1 },
    { 19112, K::Bmp, 32, 31, "capture", S::Pressed, -1 },
    { 19113, K::Bmp, 32, 31, "capture", S::Hover, -1 },
    { 19114, K::Bmp, 32, 31, "capture", S::Disabled, -1 },
    { 19121, K::Bmp, 32, 31, "zoom", S::Normal, -1 },
    { 19122, K::Bmp, 32, 31, "zoom", S::Pressed, -1 },
    { 19123, K::Bmp, 32, 31, "zoom", S::Hover, -1 },
    { 19124, K::Bmp, 32, 31, "zoom", S::Disabled, -1 },
    { 19131, K::Bmp, 32, 31, "print", S::Normal, -1 },
    { 19132, K::Bmp, 32, 31, "print", S::Pressed, -1 },
    { 19133, K::Bmp, 32, 31, "print", S::Hover, -1 },
    { 19134, K::Bmp, 32, 31, "print", S::Disabled, -1 },
    { 19141, K::Bmp, 32, 31, "settings", S::Normal, -1 },
    { 19142, K::Bmp, 32, 31, "settings", S::Pressed, -1 },
    { 19143, K::Bmp, 32, 31, "settings", S::Hover, -1 },
    { 19151, K::Bmp, 32, 31, "layout", S::Normal, -1 },
    { 19152, K::Bmp, 32, 31, "layout", S::Pressed, -1 },
    { 19153, K::Bmp, 32, 31, "layout", S::Hover, -1 },
    { 19161, K::Bmp, 32, 31, "about", S::Normal, -1 },
    { 19162, K::Bmp, 32, 31, "about", S::Pressed, -1 },
    { 19163, K::Bmp, 32, 31, "about", S::Hover, -1 },
    // Window buttons of the top bar, 30 × 24.
    { 18101, K::Bmp, 30, 24, "minimise", S::Normal, -1 },
    { 18102, K::Bmp, 30, 24, "minimise", S::Pressed, -1 },
    { 18103, K::Bmp, 30, 24, "minimise", S::Hover, -1 },
    { 18111, K::Bmp, 30, 24, "maximise", S::Normal, -1 },
    { 18112, K::Bmp, 30, 24, "maximise", S::Pressed, -1 },
    { 18113, K::Bmp, 30, 24, "maximise", S::Hover, -1 },
    { 18121, K::Bmp, 30, 24, "close", S::Normal, -1 },
    { 18122, K::Bmp, 30, 24, "close", S::Pressed, -1 },
    { 18123, K::Bmp, 30, 24, "close", S::Hover, -1 },
    // Close button of the floating map window, 30 × 24.
    { 157, K::Bmp, 30, 24, "map-close", S::Normal, -1 },
    { 158, K::Bmp, 30, 24, "map-close", S::Pressed, -1 },
    { 159, K::Bmp, 30, 24, "map-close", S::Hover, -1 },
    // Playback bar, 32 × 32: normal, pressed, hover, disabled.
    { 19171, K::Bmp, 32, 32, "previous", S::Normal, -1 },
    { 19172, K::Bmp, 32, 32, "previous", S::Pressed, -1 },
    { 19173, K::Bmp, 32, 32, "previous", S::Hover, -1 },
    { 19174, K::Bmp, 32, 32, "previous", S::Disabled, -1 },
    { 19181, K::Bmp, 32, 32, "rewind", S::Normal, -1 },
    { 19182, K::Bmp, 32, 32, "rewind", S::Pressed, -1 },
    { 19183, K::Bmp, 32, 32, "rewind", S::Hover, -1 },
    { 19184, K::Bmp, 32, 32, "rewind", S::Disabled, -1 },
    { 19191, K::Bmp, 32, 32, "play", S::Normal, -1 },
    { 19192, K::Bmp, 32, 32, "play", S::Pressed, -1 },
    { 19193, K::Bmp, 32, 32, "play", S::Hover, -1 },
    { 19194, K::Bmp, 32, 32, "play", S::Disabled, -1 },
    { 19195, K::Bmp, 32, 32, "pause", S::Normal, -1 },
    { 19196, K::Bmp, 32, 32, "pause", S::Pressed, -1 },
    { 19197, K::Bmp, 32, 32, "pause", S::Hover, -1 },
    { 19198, K::Bmp, 32, 32, "pause", S::Disabled, -1 },
    { 19201, K::Bmp, 32, 32, "fast-forward", S::Normal, -1 },
    { 19202, K::Bmp, 32, 32, "fast-forward", S::Pressed, -1 },
    { 19203, K::Bmp, 32, 32, "fast-forward", S::Hover, -1 },
    { 19204, K::Bmp, 32, 32, "fast-forward", S::Disabled, -1 },
    { 19211, K::Bmp, 32, 32, "next", S::Normal, -1 },
    { 19212, K::Bmp, 32, 32, "next", S::Pressed, -1 },
    { 19213, K::Bmp, 32, 32, "next", S::Hover, -1 },
    { 19214, K::Bmp, 32, 32, "next", S::Disabled, -1 },
    { 19251, K::Bmp, 32, 32, "map", S::Normal, -1 },
    { 19252, K::Bmp, 32, 32, "map", S::Pressed, -1 },
    { 19253, K::Bmp, 32, 32, "map", S::Disabled, -1 },
    // Playback bar, 24 × 24: normal and pressed. Mute shows "sound" while the sound is on.
    { 19221, K::Bmp, 24, 24, "speed", S::Normal, -1 },
    { 19222, K::Bmp, 24, 24, "speed", S::Pressed, -1 },
    { 19231, K::Bmp, 24, 24, "brightness", S::Normal, -1 },
    { 19232, K::Bmp, 24, 24, "brightness", S::Pressed, -1 },
    { 19241, K::Bmp, 24, 24, "mute", S::Normal, -1 },
    { 19242, K::Bmp, 24, 24, "mute", S::Pressed, -1 },
    { 19243, K::Bmp, 24, 24, "sound", S::Normal, -1 },
    { 19244, K::Bmp, 24, 24, "sound", S::Pressed, -1 },
    // Sliders: the position slider cuts caps and a tile out of a strip 10 high (its client is 30 high, the
    // channel 20 less); the speed and brightness sliders share one channel and one black-keyed thumb.
    { 1034, K::Bmp, 547, 10, "position-channel", S::None, -1 },
    { 1036, K::Bmp, 11, 22, "position-thumb", S::None, -1 },
    { 1055, K::Bmp, 3, 7, "position-played", S::None, -1 },
    { 1040, K::Bmp, 66, 9, "simple-channel", S::None, -1 },
    { 1042, K::Bmp, 11, 13, "simple-thumb", S::None, -1 },
    // Volume bar, the size of the control: empty and filled.
    { 20001, K::Bmp, 70, 24, "volume-empty", S::None, -1 },
    { 20002, K::Bmp, 70, 24, "volume-full", S::None, -1 },
    // Speed display: backgrounds naming the unit, white-keyed digits and point.
    { 20011, K::Bmp, 120, 40, "speed-kmh", S::None, -1 },
    { 20053, K::Bmp, 120, 40, "speed-mph", S::None, -1 },
    { 20012, K::Bmp, 6, 18, "speed-point", S::None, -1 },
    { 20014, K::Bmp, 10, 18, "speed-digit-0", S::None, -1 },
    { 20015, K::Bmp, 10, 18, "speed-digit-1", S::None, -1 },
    { 20016, K::Bmp, 10, 18, "speed-digit-2", S::None, -1 },
    { 20017, K::Bmp, 10, 18, "speed-digit-3", S::None, -1 },
    { 20018, K::Bmp, 10, 18, "speed-digit-4", S::None, -1 },
    { 20019, K::Bmp, 10, 18, "speed-digit-5", S::None, -1 },
    { 20020, K::Bmp, 10, 18, "speed-digit-6", S::None, -1 },
    { 20021, K::Bmp, 10, 18, "speed-digit-7", S::None, -1 },
    { 20022, K::Bmp, 10, 18, "speed-digit-8", S::None, -1 },
    { 20023, K::Bmp, 10, 18, "speed-digit-9", S::None, -1 },
    // Main window background: the top tile and the idle picture of the video area.
    { 1057, K::Bmp, 100, 33, "top-tile", S::None, -1 },
    { 170, K::Bmp, 720, 421, "idle", S::None, -1 },
    // List scroll bar, top to bottom; the track is stretched over the bar.
    { 162, K::Bmp, 18, 18, "scroll-top-cap", S::None, -1 },
    { 163, K::Bmp, 18, 18, "scroll-up", S::None, -1 },
    { 164, K::Bmp, 12, 1, "scroll-track", S::None, -1 },
    { 165, K::Bmp, 18, 18, "scroll-down", S::None, -1 },
    { 166, K::Bmp, 18, 18, "scroll-bottom-cap", S::None, -1 },
    { 167, K::Bmp, 18, 18, "scroll-thumb", S::None, -1 },
    // The about box's second button (hidden): no words, the same in every language.
    { 1336, K::Bmp, 83, 32, "about-second", S::Normal, -1 },
    { 1335, K::Bmp, 83, 32, "about-second", S::Pressed, -1 },
};

// Where each language keeps its images. Every language has a block of 23: the 18 channel and category
// images, then not-connected, no-data, OK normal, OK pressed and title. Korean, the recorder's first
// language, keeps its panels and about-box images at identifiers of their own.
struct LanguageBlock {
    int buttons; // first of the 18 category and channel images
    int notConnected;
    int noData;
    int okNormal;
    int okPressed;
    int title;
};

constexpr std::array<LanguageBlock, kSkinLanguageCount> kLanguageBlocks = { {
    { 172, 190, 191, 192, 193, 194 }, // 0 English
    { 1074, 155, 148, 1094, 1095, 1092 }, // 1 Korean
    { 1100, 1118, 1119, 1120, 1121, 1122 }, // 2 German
    { 1123, 1141, 1142, 1143, 1144, 1145 }, // 3 Japanese
    { 1284, 1302, 1303, 1304, 1305, 1306 }, // 4 Chinese
    { 1238, 1256, 1257, 1258, 1259, 1260 }, // 5 Dutch
    { 1169, 1187, 1188, 1189, 1190, 1191 }, // 6 French
    { 1192, 1210, 1211, 1212, 1213, 1214 }, // 7 Italian
    { 1261, 1279, 1280, 1281, 1282, 1283 }, // 8 Polish
    { 1215, 1233, 1234, 1235, 1236, 1237 }, // 9 Portuguese
    { 1307, 1325, 1326, 1327, 1328, 1329 }, // 10 Russian
    { 1146, 1164, 1165, 1166, 1167, 1168 }, // 11 Spanish
} };

// The rear_mirror button came later than the blocks: a pair (normal, selected) per language from 1337.
constexpr int kRearMirrorPairStride = 2;

// The 18 images of a block, in order, with their English identifier's offset from the block start.
struct BlockImage {
    const char* name;
    SkinState state;
    int width;
    int height;
};

constexpr BlockImage kBlockImages[18] = {
    { "category-all", S::Normal, 43, 23 },
    { "category-all", S::Selected, 43, 23 },
    { "category-all", S::Disabled, 43, 23 },
    { "category-normal", S::Normal, 43, 23 },
    { "category-normal", S::Selected, 43, 23 },
    { "category-normal", S::Disabled, 43, 23 },
    { "category-event", S::Normal, 43, 23 },
    { "category-event", S::Selected, 43, 23 },
    { "category-event", S::Disabled, 43, 23 },
    { "category-parking", S::Normal, 43, 23 },
    { "category-parking", S::Selected, 43, 23 },
    { "category-parking", S::Disabled, 43, 23 },
    { "channel-front", S::Normal, 43, 19 },
    { "channel-front", S::Selected, 43, 19 },
    { "channel-rear", S::Normal, 43, 19 },
    { "channel-rear", S::Selected, 43, 19 },
    { "channel-all", S::Normal, 43, 19 },
    { "channel-all", S::Selected, 43, 19 },
};

std::vector<SkinImage> BuildTable()
{
    std::vector<SkinImage> table(std::begin(kCommonImages), std::end(kCommonImages));
    for (int language = 0; language < kSkinLanguageCount; ++language) {
        const LanguageBlock& block = kLanguageBlocks[size_t(language)];
        for (int i = 0; i < 18; ++i) {
            const BlockImage& b = kBlockImages[i];
            table.push_back({ block.buttons + i, K::Bmp, b.width, b.height, b.name, b.state, language });
        }
        table.push_back({ block.notConnected, K::Png, 256, 160, "not-connected", S::None, language });
        table.push_back({ block.noData, K::Png, 256, 160, "no-data", S::None, language });
        table.push_back({ block.okNormal, K::Bmp, 83, 32, "about-ok", S::Normal, language });
        table.push_back({ block.okPressed, K::Bmp, 83, 32, "about-ok", S::Pressed, language });
        table.push_back({ block.title, K::Bmp, 291, 28, "about-title", S::None, language });
        const int mirror = kRearMirrorNormalEnglish + kRearMirrorPairStride * language;
        table.push_back({ mirror, K::Bmp, 63, 19, "rear-mirror", S::Normal, language });
        table.push_back({ mirror + 1, K::Bmp, 63, 19, "rear-mirror", S::Selected, language });
    }
    return table;
}

const std::vector<SkinImage>& Table()
{
    static const std::vector<SkinImage> table = BuildTable();
    return table;
}

} // namespace

std::span<const SkinImage> SkinImages()
{
    return Table();
}

const SkinImage* FindSkinImage(int id)
{
    const auto& table = Table();
    const auto it
        = std::find_if(table.begin(), table.end(), [id](const SkinImage& image) { return image.id == id; });
    return it == table.end() ? nullptr : &*it;
}

int LanguageImageId(int englishId, int language)
{
    if (language < 0 || language >= kSkinLanguageCount)
        return 0;
    const LanguageBlock& english = kLanguageBlocks[0];
    const LanguageBlock& block = kLanguageBlocks[size_t(language)];
    if (englishId >= english.buttons && englishId < english.buttons + 18)
        return block.buttons + (englishId - english.buttons);
    if (englishId == english.notConnected)
        return block.notConnected;
    if (englishId == english.noData)
        return block.noData;
    if (englishId == english.okNormal)
        return block.okNormal;
    if (englishId == english.okPressed)
        return block.okPressed;
    if (englishId == english.title)
        return block.title;
    if (englishId == kRearMirrorNormalEnglish || englishId == kRearMirrorSelectedEnglish)
        return englishId + kRearMirrorPairStride * language;
    return 0;
}

} // namespace zq
