// The thirteen data types of tag values: how the 32 bytes of a value are laid out, how the tag
// list shows them and how a shown text is read back into bytes.
#pragma once
#include <array>
#include <cstdint>
#include <string>

class TIniFile;

using TTagBytes = std::array<uint8_t, 32>;

enum TDataType {
    dtUnknown,
    dtSINT, dtUINT, dtFLAGS, dtENUM, dtFLOAT, dtUFLOAT, dtVECTOR, dtRGB,
    dtSTRING, dtFILENAME, dtFILENAMENOEXT, dtSTRINGLIST, dtTEMPLATE
};

// Data-type names compare with letter case; anything else is dtUnknown.
TDataType DataTypeFromName(const std::string& name);
bool IsTextType(TDataType type);

// Blanks skipped, optional sign, digits up to the first other character, accumulated in 32 bits
// with wrap-around, so "4294967295" and "-1" both give 0xFFFFFFFF. No digits give 0.
uint32_t ReadLeadingInt(const std::string& text);
// True when text is a plain decimal number (optional sign, digits only) that fits 32 bits signed.
bool ReadWholeInt(const std::string& text, int32_t& value);

// The text of a text-type value: up to its NUL, never past the 32 bytes.
std::string TagBytesText(const TTagBytes& value);
// A text-type value: at most 31 characters, zeros after them.
TTagBytes TagBytesFromText(const std::string& text);

// The value as the tag list shows it. ENUM values take their name from the data file's section
// ref when that section has more entries than the index. Unknown types show "".
std::string FormatTagValue(const std::string& dataType, const TTagBytes& value,
                           const TIniFile* dataFile = nullptr, const std::string& ref = "");

// Reads a shown text back into 32 bytes (zeros where the type uses none). False for an unknown
// type: then value is left as it was.
bool ParseTagValue(const std::string& dataType, const std::string& text, TTagBytes& value);

// What a saved value becomes: the original bytes unless its text was edited, so that floats
// and colours keep their exact bits and unknown types keep their bytes.
TTagBytes TagValueForSave(const std::string& dataType, const std::string& text,
                          const TTagBytes& original, bool edited);
