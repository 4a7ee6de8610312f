#pragma once
// Reading and writing lengths: feet, inches and fractions of an inch, and metric lengths.
#include "config/Units.h"

#include <cstddef>

// The text of a length in millimetres. Texts marked "mm", "cm" or "m" are read in that unit,
// texts with a foot or inch mark in feet and inches, and unmarked numbers in the given unit.
// With round set, the result is rounded to the given unit's fraction when the text is in that unit.
// Numbers are read with a full stop whatever the locale; only the first 255 characters are read.
// A null unit counts as METRIC; a null or empty text gives 0.
double ParseLength(const TLengthScale* unit, const char* text, bool round);
// A whole number with an optional fraction ("3-1/2", "7 1/2", "1/2"), with its sign; a fraction
// whose numerator or denominator is not above 0.1 adds nothing.
double ParseWholeFraction(const char* text);

// -1, 0 or 1, with a tolerance of 2^-23 around zero.
double SignWithTolerance(double x);
// |a - b| <= 2^-23.
bool NearlyEqual(double a, double b);
// The length rounded to the nearest 1/SecondFactor of the unit, a half going up.
double RoundToFraction(const TLengthScale* unit, double mm);
// floor(steps + 0.5): the nearest whole step, a half going up. A value a hair (10^-6 of a step)
// below a half counts as the half, since a length on a half step picks up that much noise on its
// way through millimetres, feet and inches.
double RoundHalfUp(double steps);

// A length in millimetres as feet, inches and a fraction (imperial), decimal feet (FEET) or whole
// metric units, written into out (at most outSize bytes with the NUL; longer texts are cut).
// Returns out.
char* FormatFeetInchFraction(const TLengthScale* unit, double mm, char* out, int precision,
                             size_t outSize = 100);
// An area in square metres as square feet and twelfths (imperial), decimal square feet (FEET) or
// the number as given. Returns out.
char* FormatFeetInchDecimal(const TLengthScale* unit, double area, char* out, int precision,
                            size_t outSize = 100);
