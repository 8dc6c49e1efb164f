#include "testing/RT2MBand.h"

#include "platform/Format.h"

namespace corvane {
namespace {

struct BandRow {
    int upToHz;
    RT2MBand band;
};

constexpr BandRow kBands[] = {
    {500, {500, 492.2, 2048, 21, 344}},   {750, {750, 750.0, 1024, 16, 284}},
    {1000, {1000, 984.4, 1024, 21, 284}}, {1500, {1500, 1500.0, 512, 16, 154}},
    {2000, {2000, 1968.8, 512, 21, 154}}, {2147483647, {2500, 2531.3, 512, 27, 154}},
};

}  // namespace

int RT2MBandIndex(int outputFrequency) {
    int i = 0;
    while (outputFrequency > kBands[i].upToHz) {
        ++i;
    }
    return i;
}

const RT2MBand& RT2MBandAt(int index) {
    constexpr int last = static_cast<int>(std::size(kBands)) - 1;
    return kBands[index < 0 ? 0 : (index > last ? last : index)].band;
}

const RT2MBand& ChooseRT2MBand(int outputFrequency) {
    return RT2MBandAt(RT2MBandIndex(outputFrequency));
}

unsigned RT2MAnalysisDelay(unsigned fftSize) {
    switch (fftSize) {
        case 512:
            return 154;
        case 1024:
            return 284;
        case 2048:
            return 344;
        case 4096:
            return 684;
        default:
            return 854;
    }
}

std::string RT2MMultitoneParameter(const RT2MBand& band) {
    return StrFormat("%u,'VORLIN',%u,1,1,%u,%u,0.000E00,0.000E00", 1u, band.fftSize, band.bin,
                     band.bin);
}

}  // namespace corvane
