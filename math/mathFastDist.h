#pragma once

// Distance estimates without a square root. Each takes the absolute values of its arguments and
// orders them as max, mid and min, whichever argument holds them.

float mathFastDist2_Half(float a, float b);            // max + 0.5 min
float mathFastDist2_Quarter(float a, float b);         // max + 0.25 min
float mathFastDist2_ThreeEighths(float a, float b);    // max + 0.375 min
float mathFastDist2_SevenEighths(float a, float b);    // 0.875 max + min, never below max
float mathFastDist3_Half(float a, float b, float c);                 // max + 0.5 mid + 0.5 min
float mathFastDist3_FiveSixteenths(float a, float b, float c);       // max + 0.3125 mid + 0.5 min
float mathFastDist3_ElevenThirtySeconds(float a, float b, float c);  // max + 0.34375 mid + 0.5 min
