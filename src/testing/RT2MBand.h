#pragma once

#include <string>

namespace corvane {

// One analysis band of the multitone test.
struct RT2MBand {
    int nominalHz;
    double exactHz;
    unsigned fftSize;
    unsigned bin;
    unsigned analysisDelayMs;
};

// The band for an output frequency in Hz.
const RT2MBand& ChooseRT2MBand(int outputFrequency);
// Index 0-5 of the band of an output frequency.
int RT2MBandIndex(int outputFrequency);
const RT2MBand& RT2MBandAt(int index);
// The time the analyzer takes to analyse one FFT of that size.
unsigned RT2MAnalysisDelay(unsigned fftSize);
// "OUTPUT:MTONE:PARAMETER" text of a band.
std::string RT2MMultitoneParameter(const RT2MBand& band);

}  // namespace corvane
