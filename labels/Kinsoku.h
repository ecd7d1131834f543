#pragma once

namespace corvane {

// Japanese line-breaking rules (kinsoku shori) for one pair of neighbouring
// characters, given as Unicode code points.

// Characters that must not begin a line: closing brackets, 、。 and other
// punctuation, small kana, the prolonged sound mark, iteration marks.
bool isForbiddenAtLineStart(char32_t c);

// Characters that must not end a line: opening brackets and prefixes.
bool isForbiddenAtLineEnd(char32_t c);

bool isBreakingSpace(char32_t c);

// Whether a line may end between `before` and `after`. Latin words and
// numbers stay whole; spaces stay at the end of the line they follow.
bool mayBreakBetween(char32_t before, char32_t after);

// The same, ignoring word boundaries: for a word too long for its line.
bool mayBreakInsideWord(char32_t before, char32_t after);

} // namespace corvane
