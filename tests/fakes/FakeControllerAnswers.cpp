// The fake controller's answers to the message set, byte by byte from the message
// definitions.
#include <algorithm>
#include <ctime>

#include "fakes/FakeControllerModel.h"

namespace corvane::testing {
namespace {

void PutWord(std::vector<uint8_t>& out, unsigned value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

unsigned GetWord(const std::vector<uint8_t>& in, size_t at) {
    return at + 1 < in.size() ? (static_cast<unsigned>(in[at]) << 8 | in[at + 1]) : 0xFFFF;
}

int GetByte(const std::vector<uint8_t>& in, size_t at) {
    return at < in.size() ? in[at] : -1;
}

// Type high nibble, then 12 bits of number.
void PutTypedNumber(std::vector<uint8_t>& out, unsigned type, unsigned number) {
    out.push_back(static_cast<uint8_t>((type & 0x0F) << 4 | ((number >> 8) & 0x0F)));
    out.push_back(static_cast<uint8_t>(number));
}

FakeReply Reply(std::vector<uint8_t> payload, uint8_t errorBits = 0) {
    return FakeReply{std::move(payload), errorBits};
}

// Serial: bit 7 of the code; network: the status nibble's error bit.
constexpr uint8_t kErrorBit = 0x88;

}  // namespace

std::vector<uint8_t> FakeControllerModel::HelloByte() {
    uint8_t b = ready_ ? 0x01 : 0x00;
    b |= helloExtras_;
    if (ready_ && reReadPending_) {
        b |= 0x02;
        reReadPending_ = false;
    }
    if (overallNowOnChange_ && changedSinceOverall_) {
        b |= 0x04;
    }
    return {b};
}

std::vector<uint8_t> FakeControllerModel::ChangeReply(uint8_t subCode) const {
    std::vector<uint8_t> out;
    if (subCode == 0) {
        uint8_t areas = 0;
        for (int area = kNames; area <= kOosPorts; ++area) {
            const auto& bits = changes_[static_cast<size_t>(area)];
            if (std::find(bits.begin(), bits.end(), 1) != bits.end()) {
                areas |= static_cast<uint8_t>(1 << (area - 1));
            }
        }
        PutWord(out, 8);
        out.push_back(areas);
        return out;
    }
    if (subCode > kOosPorts) {
        PutWord(out, 0);
        return out;
    }
    const auto& bits = changes_[subCode];
    PutWord(out, static_cast<unsigned>(bits.size()));
    out.resize(2 + (bits.size() + 7) / 8, 0);
    for (size_t i = 0; i < bits.size(); ++i) {
        if (bits[i] != 0) {
            out[2 + i / 8] |= static_cast<uint8_t>(1 << (i % 8));
        }
    }
    return out;
}

void FakeControllerModel::ClearReported(const std::vector<uint8_t>& payload) {
    const int subCode = GetByte(payload, 0);
    if (subCode < kNames || subCode > kOosPorts) {
        return;
    }
    auto& bits = changes_[static_cast<size_t>(subCode)];
    const size_t count = std::min<size_t>(GetWord(payload, 1), bits.size());
    for (size_t i = 0; i < count; ++i) {
        const size_t at = 3 + i / 8;
        if (at < payload.size() && (payload[at] >> (i % 8) & 1) != 0) {
            bits[i] = 0;
        }
    }
}

std::vector<uint8_t> FakeControllerModel::Alphas(const std::vector<uint8_t>& request) const {
    const int matrix = GetByte(request, 0);
    const unsigned word = GetWord(request, 1);
    const int kind = static_cast<int>(word >> 12);
    const size_t start = word & 0xFFF;
    const int sizeCode = GetByte(request, 3) >> 4;
    const size_t size = sizeCode == 2 ? 6 : sizeCode == 3 ? 8 : 4;
    const size_t perPage = static_cast<size_t>(std::max(GetByte(request, 4), 0));

    std::vector<std::string> list;
    if (kind == 7) {
        for (const FakeMatrix& m : network_.matrices) {
            list.push_back(m.name);
        }
    } else if (const FakeMatrix* m = MatrixAt(matrix); m != nullptr && kind <= 8) {
        list = m->alphas[static_cast<size_t>(kind)];
    }
    std::vector<uint8_t> out;
    PutWord(out, static_cast<unsigned>(list.size()));
    for (size_t i = start; i < list.size() && i < start + perPage; ++i) {
        std::vector<uint8_t> alpha(list[i].begin(), list[i].end());
        alpha.resize(size, 0);
        out.insert(out.end(), alpha.begin(), alpha.end());
    }
    return out;
}

std::vector<uint8_t> FakeControllerModel::Definition(int trunk) const {
    const FakeTrunk* t = TrunkAt(trunk);
    if (t == nullptr || !t->defined) {
        return {255, 0xFF, 0xFF, 255, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0};
    }
    std::vector<uint8_t> out{t->end1Intercom};
    PutWord(out, t->end1Number);
    out.push_back(t->end2Intercom);
    PutWord(out, t->end2Number);
    out.push_back(t->fixed1Intercom);
    PutTypedNumber(out, t->fixed1FunctionType, t->fixed1Number);
    out.push_back(t->fixed2Intercom);
    PutTypedNumber(out, t->fixed2FunctionType, t->fixed2Number);
    out.push_back(static_cast<uint8_t>((t->canCascade ? 0x02 : 0) | (t->useFixed ? 0x01 : 0)));
    return out;
}

std::vector<uint8_t> FakeControllerModel::Inspect(int trunk) const {
    std::vector<uint8_t> out(6, 0);
    const FakeTrunk* t = TrunkAt(trunk);
    const uint16_t cascade = t != nullptr ? t->cascadeTrunk : 0xFFFF;
    PutWord(out, cascade);
    if (cascade != 0xFFFF) {
        out.insert(out.end(), 6, 0);
    }
    for (const auto* ends :
         {t != nullptr ? &t->ends1 : nullptr, t != nullptr ? &t->ends2 : nullptr}) {
        const size_t n = ends != nullptr ? std::min<size_t>(ends->size(), 255) : 0;
        out.push_back(static_cast<uint8_t>(n));
        for (size_t i = 0; i < n; ++i) {
            const FakeUsageEnd& e = (*ends)[i];
            out.push_back(e.intercom);
            PutTypedNumber(out, e.functionType, e.number);
            out.push_back(static_cast<uint8_t>((e.talk ? 0x02 : 0) | (e.listen ? 0x01 : 0) |
                                               (e.inactive ? 0x40 : 0)));
            out.push_back(static_cast<uint8_t>((e.farTalk ? 0x01 : 0) | (e.farListen ? 0x02 : 0) |
                                               (e.farInactive ? 0x40 : 0)));
        }
    }
    return out;
}

std::vector<uint8_t> FakeControllerModel::Queued(int matrix) const {
    std::vector<uint8_t> out;
    if (const FakeMatrix* m = MatrixAt(matrix)) {
        for (const FakeQueuedRequest& q : m->queued) {
            out.push_back(q.sourceIntercom);
            PutWord(out, q.sourceNumber);
            out.push_back(q.destinationIntercom);
            PutTypedNumber(out, q.destinationFunctionType, q.destinationNumber);
            out.push_back(static_cast<uint8_t>((q.talk ? 0x01 : 0) | (q.listen ? 0x02 : 0) |
                                               (q.inactive ? 0x40 : 0)));
        }
    }
    return out;
}

FakeReply FakeControllerModel::Maintenance(const FakeRequest& r) {
    const std::vector<uint8_t>& p = r.payload;
    switch (r.code) {
        case 25:  // Get Exclusive Control
            if (outcomes_.exclusiveControlRefusals < 0 || exclusiveRefusalsLeft_ > 0) {
                --exclusiveRefusalsLeft_;
                return Reply({}, kErrorBit);
            }
            return Reply({});
        case 26:  // Release Exclusive Control
            exclusiveRefusalsLeft_ = outcomes_.exclusiveControlRefusals;
            return Reply({});
        case 3:  // Activate Changes
            activationInProgressLeft_ = outcomes_.activationInProgressReplies;
            [[fallthrough]];
        case 23:  // Get Activation Status
            if (activationInProgressLeft_ > 0) {
                --activationInProgressLeft_;
                return Reply({3});
            }
            return Reply({0});
        case 39: {  // Set Trunk Mode
            const int trunk = static_cast<int>(GetWord(p, 0));
            const int mode = GetByte(p, 2);
            if (!outcomes_.trunkModeSucceeds || TrunkAt(trunk) == nullptr || mode < 0 || mode > 2) {
                return Reply({0});
            }
            FakeTrunk& t = network_.trunks[static_cast<size_t>(trunk)];
            t.status = mode == 0 ? 0 : 4;
            t.ends1.clear();
            t.ends2.clear();
            Mark(kUsage, static_cast<size_t>(trunk));
            return Reply({1});
        }
        case 40:  // Set Trunk Crosspoints
            return Reply({static_cast<uint8_t>(outcomes_.crosspointsSucceed && p.size() == 6)});
        case 44:  // Set Maintenance Port
            if (!outcomes_.setMaintenancePortSucceeds || p.size() != 3) {
                return Reply({0});
            }
            network_.maintenanceMatrix = p[0];
            network_.maintenancePort = static_cast<uint16_t>(GetWord(p, 1));
            return Reply({1});
        default:  // Abort All Changes
            return Reply({});
    }
}

std::optional<FakeReply> FakeControllerModel::Answer(const FakeRequest& r) {
    std::lock_guard lock(mutex_);
    const std::vector<uint8_t>& p = r.payload;
    switch (r.code) {
        case 36:
            return Reply(HelloByte());
        case 21:
            return Reply({network_.version.begin(), network_.version.end()});
        case 74:
            return Reply({network_.capabilities});
        case 37: {
            if (network_.dateTime != std::array<uint8_t, 6>{}) {
                return Reply({network_.dateTime.begin(), network_.dateTime.end()});
            }
            const std::time_t now = now_ ? now_() : std::time(nullptr);
            std::tm tm{};
            localtime_r(&now, &tm);
            return Reply({static_cast<uint8_t>(tm.tm_year % 100),
                          static_cast<uint8_t>(tm.tm_mon + 1), static_cast<uint8_t>(tm.tm_mday),
                          static_cast<uint8_t>(tm.tm_hour), static_cast<uint8_t>(tm.tm_min),
                          static_cast<uint8_t>(tm.tm_sec)});
        }
        case 17:
            ++setDateTimeCount_;
            std::copy_n(p.begin(), std::min<size_t>(p.size(), 6), lastSetDateTime_.begin());
            return Reply({});
        case 38:
            if (GetByte(p, 0) == 0) {
                changedSinceOverall_ = false;
            }
            return Reply(ChangeReply(static_cast<uint8_t>(std::max(GetByte(p, 0), 0))));
        case 53:
            ClearReported(p);
            return Reply({});
        case 54:
            MarkAll();
            return Reply({});
        case 5:
            return Reply(Alphas(p));
        case 8:
            return Reply(Definition(static_cast<int>(GetWord(p, 0))));
        case 14: {
            const FakeTrunk* t = TrunkAt(static_cast<int>(GetWord(p, 0)));
            uint8_t s = t != nullptr ? t->status : 0;
            if (t != nullptr && t->outOfService && p.size() >= 5) {
                s |= 0x08;
            }
            return Reply({s});
        }
        case 35:
            return Reply(Inspect(static_cast<int>(GetWord(p, 0))));
        case 41:
            return Reply(Queued(GetByte(p, 0)));
        case 86:
            return Reply(Queued(static_cast<int>(GetWord(p, 0)) - 1));
        case 52: {
            std::vector<uint8_t> out{network_.maintenanceMatrix};
            PutWord(out, network_.maintenancePort);
            return Reply(out);
        }
        case 73: {
            std::vector<uint8_t> out{0, 0, 0, 0};
            const int first = std::max(GetByte(p, 0), 0);
            const int count = std::max(GetByte(p, 1), 0);
            for (int i = first; i < first + count; ++i) {
                const FakeMatrix* m = MatrixAt(i);
                const FakeCompatibility c = m != nullptr ? m->compatibility : FakeCompatibility{};
                out.push_back(c.state);
                out.push_back(c.byteValue);
                PutWord(out, c.wordValue1);
                PutWord(out, c.wordValue2);
            }
            return Reply(out);
        }
        default:
            break;
    }
    // Matrix queries: most carry the matrix first; Device Comm Status and IP Address second;
    // Cascade Cost as a word.
    const int matrix = r.code == 18 || r.code == 70 ? GetByte(p, 1)
                       : r.code == 81               ? static_cast<int>(GetWord(p, 0))
                                                    : GetByte(p, 0);
    const FakeMatrix* m = MatrixAt(matrix);
    switch (r.code) {
        case 15:
            return Reply({m != nullptr ? m->baudCode : uint8_t{0}});
        case 27:
            return Reply({m != nullptr ? m->port : uint8_t{0}});
        case 68:
            return Reply({m != nullptr ? m->connType : uint8_t{0}});
        case 70: {
            std::array<uint8_t, 4> ip{};
            if (m != nullptr) {
                ip = GetByte(p, 0) == 1 ? m->ip2 : m->ip1;
            }
            return Reply({ip.begin(), ip.end()});
        }
        case 81: {
            std::vector<uint8_t> out;
            PutWord(out, m != nullptr ? m->cascadeCost : 0);
            return Reply(out);
        }
        case 18:
            return Reply({m != nullptr ? m->commStatus : uint8_t{0x0B}});
        case 80:
            return m != nullptr ? Reply({m->oosPorts.begin(), m->oosPorts.end()})
                                : Reply(std::vector<uint8_t>(128, 0));
        default:
            return Maintenance(r);
    }
}

}  // namespace corvane::testing
