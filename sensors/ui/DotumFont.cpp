#include "DotumFont.h"

#include <QStringList>

namespace zq {

QFont DotumFont(int pixelHeight)
{
    static const QString kFace = QStringLiteral("돋움");
    // The program installs the substitution at start-up as well; repeating it keeps the controls right
    // when they are used on their own (tests, tools).
    static const bool kSubstituted = [] {
        if (!QFont::substitutes(kFace).contains(QStringLiteral("NanumGothic")))
            QFont::insertSubstitution(kFace, QStringLiteral("NanumGothic"));
        return true;
    }();
    (void)kSubstituted;
    QFont font(kFace);
    font.setPixelSize(pixelHeight);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace zq
