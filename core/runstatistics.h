#pragma once

// Maximum, minimum and sum of the readings in a run of consecutive temperatures (a matrix
// row, or the part of a row a measurement covers). Pixels without a reading (NA_TEMPERATURE)
// are left out of all three and of the count: a frame cut off by a damaged file would
// otherwise report 65536 °C as its maximum and pull its average towards it. The sum is kept
// in double precision: a single-precision running sum over a whole 640 x 512 frame rounds
// every addition to a whole degree or more, and a uniform 80.3 °C frame would average 80.1 °C.
struct RunStatistics
{
    float max = 0.0f; // meaningful only when count > 0
    float min = 0.0f;
    double sum = 0.0;
    int count = 0;    // values with a reading
};

// values[0 .. count - 1], count >= 0. The result does not depend on anything but the values,
// so the same run always gives the same bits. A value that is not a number is never an extreme.
RunStatistics runStatistics(const float *values, int count);

// The first index whose value equals `value`, or count when there is none. Ties keep the first
// pixel met: after a run beats the extremes met so far, this finds where.
int firstIndexOf(const float *values, int count, float value);
