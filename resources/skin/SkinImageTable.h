#pragma once

#include <span>

// The one list of every skin image of the viewer: identifier, kind, size and what it shows. The generator
// draws exactly these images, the build compiles them in as ":/skin/bmp/<id>.bmp" and ":/skin/png/<id>.png",
// and the tests check the compiled resources against this list.
namespace zq {

/// The values are those GetSkinResourceKind answers for an image of that kind.
enum class SkinKind : int { Bmp = 1, Png = 2 };

/// Which state of a control an image shows; None for images that are not a control state.
enum class SkinState : int { None, Normal, Pressed, Hover, Disabled, Selected };

struct SkinImage {
    int id;
    SkinKind kind;
    int width;
    int height;
    const char* name; ///< short name of what it shows ("play", "category-event", "speed-digit-7", ...)
    SkinState state;
    int language; ///< language index 0..11 for images that carry words, -1 for the others
};

constexpr int kSkinLanguageCount = 12;

// English identifiers of the per-language images. Every other language keeps the same 23 images in the
// same order in a block of its own, the rear_mirror pair apart; LanguageImageId maps between them.
// 172..183: category All, Normal, Event, Parking, each normal, selected, disabled (43 × 23).
// 184..189: channel Front, Rear, All, each normal, selected (43 × 19).
constexpr int kCategoryAllNormalEnglish = 172;
constexpr int kChannelFrontNormalEnglish = 184;
constexpr int kNotConnectedEnglish = 190; // PNG
constexpr int kNoDataEnglish = 191; // PNG
constexpr int kAboutOkNormalEnglish = 192;
constexpr int kAboutOkPressedEnglish = 193;
constexpr int kAboutTitleEnglish = 194;
constexpr int kRearMirrorNormalEnglish = 1337; // 63 × 19; language L: 1337 + 2 L
constexpr int kRearMirrorSelectedEnglish = 1338;

/// Every image of the skin: the common ones by group, then each language's.
std::span<const SkinImage> SkinImages();

/// The entry of an identifier, or nullptr when the skin has no such image.
const SkinImage* FindSkinImage(int id);

/// The identifier of a per-language image in language 0..11, given its English identifier (the table
/// above: 172..194, 1337, 1338). 0 (no image) for a language outside 0..11 or an identifier that is not
/// the English one of a per-language image.
int LanguageImageId(int englishId, int language);

} // namespace zq
