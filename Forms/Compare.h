// One text order for every sort whose result is saved or shown. The platform's locale compare
// differs between Windows and Wine, so we compare ASCII ourselves.
#pragma once
#include <string>

// Case-insensitive ASCII compare: <0, 0 or >0. "Door" and "door" are equal.
int CompareTextAscii(const std::string& a, const std::string& b);

// Case-insensitive order with a stable tie-break on the exact bytes, so texts that differ only
// in letter case still get one fixed order (upper case first, as in ASCII).
int CompareTextStable(const std::string& a, const std::string& b);

bool SameTextAscii(const std::string& a, const std::string& b);

// The text with A to Z made lower case: two texts are equal for CompareTextAscii exactly when
// their lower-case forms are equal, so it can key a hash table.
std::string LowerTextAscii(const std::string& text);
