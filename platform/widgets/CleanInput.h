#pragma once

class QLineEdit;
class QPlainTextEdit;

namespace corvane {

// Keeps what the user types or pastes into a box as it may be stored and printed
// (cleanText): a line or paragraph separator becomes a line break in a box with lines and a
// space in a one-line box, other control characters are removed as they come in. The
// cursor stays where it was.
void cleanOnInput(QLineEdit *box);
void cleanOnInput(QPlainTextEdit *box);

} // namespace corvane
