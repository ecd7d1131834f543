#include "Kinsoku.h"

#include <string_view>

namespace corvane {

namespace {

constexpr std::u32string_view kNoLineStart = U"、。，．・：；？！‼⁇⁈⁉,.:;?!｡､･"
                                             U"）〕］｝〉》」』】〙〗〟’”｠»)]}｣"
                                             U"ヽヾゝゞ々〻ーｰ゛゜"
                                             U"ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶ"
                                             U"ㇰㇱㇲㇳㇴㇵㇶㇷㇸㇹㇺㇻㇼㇽㇾㇿｧｨｩｪｫｯｬｭｮ"
                                             U"‐゠–〜～－"
                                             U"％‰℃°′″¢%";

constexpr std::u32string_view kNoLineEnd = U"（〔［｛〈《「『【〘〖〝‘“｟«([{｢￥＄＃$£";

// Letters and digits of Latin words, which are not broken inside.
bool isWordCharacter(char32_t c)
{
    if (c < 0x80)
        return c > 0x20 && c != 0x7f;
    // Latin-1 letters, accented Latin and Greek as used in chemical names; full-width digits
    // and letters, as in product codes typed on Japanese keyboards (「ＸＹ１００」).
    return (c >= 0xC0 && c <= 0x24F) || (c >= 0x370 && c <= 0x3FF) || (c >= 0xFF10 && c <= 0xFF19)
           || (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A);
}

} // namespace

bool isForbiddenAtLineStart(char32_t c) { return kNoLineStart.find(c) != std::u32string_view::npos; }

bool isForbiddenAtLineEnd(char32_t c) { return kNoLineEnd.find(c) != std::u32string_view::npos; }

bool isBreakingSpace(char32_t c) { return c == U' ' || c == U'\t' || c == U'\u3000'; }

bool mayBreakInsideWord(char32_t before, char32_t after)
{
    if (isBreakingSpace(after))
        return false;
    return !isForbiddenAtLineEnd(before) && !isForbiddenAtLineStart(after);
}

bool mayBreakBetween(char32_t before, char32_t after)
{
    if (!mayBreakInsideWord(before, after))
        return false;
    if (isBreakingSpace(before))
        return true;
    // Hyphens inside a word ("67-68-5") are not break points either: CAS
    // numbers and codes must stay readable.
    return !(isWordCharacter(before) && isWordCharacter(after));
}

} // namespace corvane
