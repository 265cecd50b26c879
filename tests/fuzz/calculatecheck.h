// Checks the calculate action on one input of arbitrary bytes.
//
// Input: a first line of settings, then the three texts separated by line
// feeds (the third keeps any further ones). The rest of the input is decoded
// as UTF-8, or as UTF-16 when setting 6 is odd.
// Settings, one byte each, all optional:
//   0 Check1 (value mod 3)     1 Check2 (mod 3)       2 options (mod 4: bit 0 Option1, bit 1
//   Option2) 3 locale (mod 8)           4 repeat ('1' to '3': 10 to 1000 times) 5 text to repeat
//   (mod 3)                    6 decoding (odd: UTF-16)
// The repeat stretches one text, up to maxStretchedLength characters.
// Digits make readable settings: "12300" is Check1 on, Check2 greyed,
// both options, locale 0.
//
// Besides crashes, hangs and sanitizer reports, it finds:
// - a class for a text that holds a character no number of that locale has;
// - in the C locale, a plain decimal number read otherwise than strtod reads it;
// - a result that breaks the action's own promises (finite values, exactly
//   one option button left selected);
// - a nearest change of class along V or p, as the reason states it, that
//   typing the values on either side of it does not bear out.
#pragma once

#include "calculate.h"

#include <QString>

#include <cstddef>
#include <cstdint>

namespace korvane::fuzz {

inline constexpr qsizetype maxStretchedLength = 1000;

// Empty when the action kept every promise on the input; otherwise what it
// broke, with the texts that broke it.
QString checkCalculateInput(const std::uint8_t *data, std::size_t size);

// The same checks on entries made by hand, in the fuzzer's locale number
// localeIndex (mod 8; 0 is the C locale).
QString checkCalculateEntries(const CalculatorEntries &entries, unsigned localeIndex);

} // namespace korvane::fuzz
