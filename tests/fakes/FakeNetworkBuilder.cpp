#include "fakes/FakeNetworkBuilder.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace corvane::testing {
namespace {

std::string Text4(char letter, int n) {
    char text[8];
    std::snprintf(text, sizeof(text), "%c%03d", letter, n % 1000);
    return text;
}

}  // namespace

FakeNetwork BuildFakeNetwork(int matrices, int trunks, uint32_t seed) {
    std::mt19937 random(seed);
    FakeNetwork n;
    const int matrixCount = std::clamp(matrices, 0, 256);
    const int trunkCount = std::clamp(trunks, 0, 10000);
    // Alpha list lengths of kinds 0-8 (7, the names, is no list).
    static const int kListLengths[9] = {32, 8, 4, 4, 8, 2, 2, 0, 2};
    static const char kLetters[9] = {'P', 'L', 'F', 'S', 'R', 'I', 'U', '?', 'B'};
    for (int m = 0; m < matrixCount; ++m) {
        FakeMatrix matrix;
        matrix.name = Text4('M', m);
        matrix.baudCode = static_cast<uint8_t>(m % 4);
        matrix.port = static_cast<uint8_t>(m % 32);
        matrix.connType = static_cast<uint8_t>(m % 2);
        matrix.ip1 = {10, 0, static_cast<uint8_t>(m / 256), static_cast<uint8_t>(m % 256)};
        matrix.ip2 = m % 3 == 0 ? std::array<uint8_t, 4>{} : std::array<uint8_t, 4>{10, 1, 0, 1};
        matrix.cascadeCost = static_cast<uint16_t>(m % 7);
        matrix.commStatus = m % 10 == 9 ? 0x05 : 0x81;
        for (int kind = 0; kind < 9; ++kind) {
            for (int i = 0; i < kListLengths[kind]; ++i) {
                matrix.alphas[static_cast<size_t>(kind)].push_back(
                    Text4(kLetters[kind], (m * 37 + i) % 1000));
            }
        }
        if (m % 4 == 0 && matrixCount > 1) {
            for (int i = 0; i < 2; ++i) {
                FakeQueuedRequest q;
                q.sourceIntercom = static_cast<uint8_t>(m);
                q.sourceNumber = static_cast<uint16_t>(i + 1);
                q.destinationIntercom = static_cast<uint8_t>((m + 1) % matrixCount);
                q.destinationFunctionType = static_cast<uint8_t>(i);
                q.destinationNumber = static_cast<uint16_t>(10 + i);
                q.talk = true;
                q.listen = i == 1;
                matrix.queued.push_back(q);
            }
        }
        n.matrices.push_back(std::move(matrix));
    }
    std::uniform_int_distribution<int> percent(0, 99);
    for (int t = 0; t < trunkCount; ++t) {
        FakeTrunk trunk;
        if (matrixCount >= 2 && t % 50 != 49) {  // a few trunks stay undefined
            trunk.defined = true;
            trunk.end1Intercom = static_cast<uint8_t>(t % std::min(matrixCount, 255));
            const int step = 1 + (t / matrixCount) % (std::min(matrixCount, 255) - 1);
            trunk.end2Intercom =
                static_cast<uint8_t>((trunk.end1Intercom + step) % std::min(matrixCount, 255));
            trunk.end1Number = static_cast<uint16_t>(100 + (t / matrixCount) % 900);
            trunk.end2Number = static_cast<uint16_t>(100 + (t / matrixCount + 7) % 900);
            trunk.fixed1Intercom = trunk.end1Intercom;
            trunk.fixed1Number = trunk.end1Number;
            trunk.fixed2Intercom = trunk.end2Intercom;
            trunk.fixed2Number = trunk.end2Number;
            trunk.canCascade = t % 5 == 0;
            trunk.outOfService = percent(random) < 2;
        }
        n.trunks.push_back(std::move(trunk));
    }
    n.maintenanceMatrix = matrixCount > 0 ? 0 : 255;
    n.maintenancePort = matrixCount > 0 ? 5 : 0xFFFF;

    FakeControllerModel states(n);
    for (int t = 0; t < trunkCount; ++t) {
        const int p = percent(random);
        const uint8_t status = p < 70 ? 0 : p < 80 ? 2 : p < 95 ? 3 : 4;
        if (n.trunks[static_cast<size_t>(t)].defined && status != 0) {
            states.SetTrunkStatus(t, status);
        }
    }
    return states.Network();
}

void ChangeRandomTrunks(FakeControllerModel& model, std::mt19937& random, int count) {
    const size_t trunks = model.TrunkCount();
    if (trunks == 0) {
        return;
    }
    std::uniform_int_distribution<size_t> pick(0, trunks - 1);
    std::uniform_int_distribution<int> percent(0, 99);
    for (int i = 0; i < count; ++i) {
        const int p = percent(random);
        model.SetTrunkStatus(static_cast<int>(pick(random)), p < 50 ? 0 : p < 70 ? 2 : 3);
    }
}

}  // namespace corvane::testing
