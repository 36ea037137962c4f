#include "model/JobSettings.h"

namespace vt {

const char *materialCodeFor(int materialIndex)
{
    switch (materialIndex) {
    case Tube: return "TUB";
    case Label: return "LAB";
    case HeatShrinkTube: return "STU";
    }
    return "";
}

const char *sizeCodeFor(int materialIndex, int sizeIndex)
{
    static const char *const labelSizes[] = {"6", "9", "12"};
    static const char *const tubeSizes[] = {"3", "4", "5", "6"};
    if (materialIndex == Label)
        return sizeIndex >= 0 && sizeIndex < 3 ? labelSizes[sizeIndex] : "";
    return sizeIndex >= 0 && sizeIndex < 4 ? tubeSizes[sizeIndex] : "";
}

QStringList sizeEntriesFor(int materialIndex)
{
    switch (materialIndex) {
    case Tube:
    case HeatShrinkTube:
        return {QStringLiteral("3.0"), QStringLiteral("4.0"), QStringLiteral("5.0"), QStringLiteral("6.0")};
    case Label: return {QStringLiteral("6 mm"), QStringLiteral("9 mm"), QStringLiteral("12mm")};
    }
    return {};
}

} // namespace vt
