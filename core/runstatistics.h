#pragma once

// Maximum, minimum and sum of a run of consecutive temperatures (a matrix row, or the part of
// a row a measurement covers). The sum is kept in double precision: a single-precision running
// sum over a whole 640 x 512 frame rounds every addition to a whole degree or more, and a
// uniform 80.3 °C frame would average 80.1 °C.
struct RunStatistics
{
    float max = 0.0f;
    float min = 0.0f;
    double sum = 0.0;
};

// values[0 .. count - 1], count >= 1. The result does not depend on anything but the values, so
// the same run always gives the same bits.
RunStatistics runStatistics(const float *values, int count);

// The first index whose value equals `value`, or count when there is none. Ties keep the first
// pixel met: after a run beats the extremes met so far, this finds where.
int firstIndexOf(const float *values, int count, float value);
