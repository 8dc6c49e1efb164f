#include "link/ModelComparison.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "platform/Format.h"

namespace corvane::testing {
namespace {

std::string Dotted(const std::array<uint8_t, 4>& ip) {
    if (ip == std::array<uint8_t, 4>{}) {
        return "-";
    }
    return StrFormat("%u.%u.%u.%u", ip[0], ip[1], ip[2], ip[3]);
}

// The few status bytes the fake networks use, as the operator reads them.
std::string CommText(uint8_t status) {
    switch (status) {
        case 0x81:
            return "OK MX4600";
        case 0x85:
            return "OK YSKA-CS";
        case 0x05:
            return "Bad YSKA-CS";
        default:
            return StrFormat("(status byte %02x)", status);
    }
}

int BaudRate(uint8_t code) {
    static const int kRates[] = {76800, 38400, 9600, 2400};
    return code < 4 ? kRates[code] : kNone;
}

int ModelState(uint8_t status) {
    switch (status) {
        case 2:
            return 1;
        case 3:
            return 2;
        case 4:
            return 3;
        default:
            return 0;
    }
}

class Collector {
public:
    explicit Collector(size_t limit) : limit_(limit) {}
    template <typename... A>
    void Add(const char* format, A... args) {
        if (lines_.size() < limit_) {
            lines_.push_back(StrFormat(format, args...));
        }
    }
    std::vector<std::string> Take() { return std::move(lines_); }

private:
    size_t limit_;
    std::vector<std::string> lines_;
};

void CompareIntercoms(const FakeNetwork& n, CVorlinDoc& doc, Collector& out) {
    const bool network = (n.capabilities & 0x01) != 0;
    const bool extended = (n.capabilities & 0x08) != 0;
    const size_t count = std::min<size_t>(n.matrices.size(), 255);
    for (size_t m = 0; m < count; ++m) {
        const FakeMatrix& f = n.matrices[m];
        const int i = static_cast<int>(m) + 1;
        const CVorlinDoc::IntercomTexts t = doc.GetIntercomTexts(i);
        const CIntercomData& d = doc.Intercoms()[static_cast<size_t>(i)];
        if (t.name != f.name.substr(0, 4)) {
            out.Add("intercom %d name '%s', controller '%s'", i, t.name.c_str(), f.name.c_str());
        }
        if (t.commStatus != CommText(f.commStatus)) {
            out.Add("intercom %d status '%s', controller '%s'", i, t.commStatus.c_str(),
                    CommText(f.commStatus).c_str());
        }
        if (d.BaudRate() != BaudRate(f.baudCode)) {
            out.Add("intercom %d baud %d, controller %d", i, d.BaudRate(), BaudRate(f.baudCode));
        }
        const int port = f.port + 1 < 32 ? f.port + 1 : 0;
        if (d.ControllerPort() != port) {
            out.Add("intercom %d port %d, controller %d", i, d.ControllerPort(), port);
        }
        if (network) {
            const std::string conn = f.connType == 0 ? "Serial" : "Network";
            if (t.connType != conn || t.ipAddress1 != Dotted(f.ip1) ||
                t.ipAddress2 != Dotted(f.ip2)) {
                out.Add("intercom %d network %s %s %s", i, t.connType.c_str(), t.ipAddress1.c_str(),
                        t.ipAddress2.c_str());
            }
        }
        if (extended && d.CascadeCost() != f.cascadeCost) {
            out.Add("intercom %d cascade cost %d, controller %d", i, d.CascadeCost(),
                    f.cascadeCost);
        }
    }
}

void CompareTrunks(const FakeNetwork& n, CVorlinDoc& doc, Collector& out) {
    const bool oos = (n.capabilities & 0x04) != 0;
    auto lock = doc.LockTrunks();
    for (size_t t = 0; t < n.trunks.size(); ++t) {
        const FakeTrunk& f = n.trunks[t];
        const int number = static_cast<int>(t) + 1;
        const CTrunkData& d = doc.Trunks()[static_cast<size_t>(number)];
        if (!f.defined) {
            if (!d.IsUndefined()) {
                out.Add("trunk %d defined, controller has no definition", number);
            }
            continue;
        }
        if (d.IsUndefined() || d.End1Intercom() != f.end1Intercom + 1 ||
            d.End1Number() != f.end1Number + 1 || d.End2Intercom() != f.end2Intercom + 1 ||
            d.End2Number() != f.end2Number + 1 || d.CanCascade() != f.canCascade) {
            out.Add("trunk %d ends %d:%d %d:%d, controller %d:%d %d:%d", number, d.End1Intercom(),
                    d.End1Number(), d.End2Intercom(), d.End2Number(), f.end1Intercom + 1,
                    f.end1Number + 1, f.end2Intercom + 1, f.end2Number + 1);
        }
        if (d.State() != ModelState(f.status)) {
            out.Add("trunk %d state %d, controller %d", number, d.State(), ModelState(f.status));
        }
        if (oos && d.OutOfService() != (f.outOfService ? 1 : 0)) {
            out.Add("trunk %d out of service %d, controller %d", number, d.OutOfService(),
                    f.outOfService ? 1 : 0);
        }
        int usages = 0;
        for (const TrunkUsageRecord& u : d.Usage()) {
            if (u.state != TrunkUsageRecord::kAllocated && u.state != TrunkUsageRecord::kInUse) {
                continue;
            }
            ++usages;
            const int expected =
                f.status == 3 ? TrunkUsageRecord::kInUse : TrunkUsageRecord::kAllocated;
            if (f.ends1.empty() || u.state != expected ||
                u.source.intercom != f.ends1[0].intercom + 1 ||
                u.source.number != f.ends1[0].number + 1 ||
                u.destination.intercom != f.ends2[0].intercom + 1) {
                out.Add("trunk %d usage %d:%d -> %d state %d", number, u.source.intercom,
                        u.source.number, u.destination.intercom, u.state);
            }
        }
        const int expectedUsages = f.ends1.empty() || f.ends2.empty() ? 0 : 1;
        if (usages != expectedUsages) {
            out.Add("trunk %d has %d usages, controller %d", number, usages, expectedUsages);
        }
    }
}

void CompareAlphas(const FakeNetwork& n, CVorlinDoc& doc, Collector& out) {
    std::map<std::pair<int, int>, std::map<int, std::string>> lists;
    {
        auto lock = doc.LockAlphas();
        for (const CAlpha& a : doc.AlphaQueue()) {
            auto& list = lists[{a.intercom, a.functionType}];
            if (a.operation == alphaop::kStore) {
                list[a.number] = a.text;
            } else if (a.operation == alphaop::kDelete) {
                list.erase(a.number);
            } else {
                list.erase(list.lower_bound(a.number), list.end());
            }
        }
    }
    const size_t count = std::min<size_t>(n.matrices.size(), 255);
    for (size_t m = 0; m < count; ++m) {
        for (const int kind : {0, 1, 2, 3, 4, 5, 6, 8}) {
            std::map<int, std::string> expected;
            const auto& fake = n.matrices[m].alphas[static_cast<size_t>(kind)];
            for (size_t i = 0; i < fake.size(); ++i) {
                if (!fake[i].empty()) {
                    expected[static_cast<int>(i) + 1] = fake[i].substr(0, 4);
                }
            }
            const auto& got = lists[{static_cast<int>(m) + 1, kind}];
            if (got != expected) {
                out.Add("intercom %zu alphas of type %d: %zu, controller %zu", m + 1, kind,
                        got.size(), expected.size());
            }
        }
    }
}

void CompareQueued(const FakeNetwork& n, CVorlinDoc& doc, Collector& out) {
    using Key = std::tuple<int, int, int, int, int>;
    auto lock = doc.LockIntercoms();
    const size_t count = std::min<size_t>(n.matrices.size(), 255);
    for (size_t m = 0; m < count; ++m) {
        std::multiset<Key> expected;
        for (const FakeQueuedRequest& q : n.matrices[m].queued) {
            expected.insert({q.sourceIntercom + 1, q.sourceNumber + 1, q.destinationIntercom + 1,
                             q.destinationFunctionType, q.destinationNumber + 1});
        }
        std::multiset<Key> got;
        for (const QueuedRequestRecord& r : doc.Intercoms()[m + 1].QueuedRequests()) {
            if (r.state == QueuedRequestRecord::kQueued) {
                got.insert({r.source.intercom, r.source.number, r.destination.intercom,
                            r.destination.functionType, r.destination.number});
            }
        }
        if (got != expected) {
            out.Add("intercom %zu has %zu queued requests, controller %zu", m + 1, got.size(),
                    expected.size());
        }
    }
}

}  // namespace

std::vector<std::string> ModelDifferences(const FakeNetwork& network, CVorlinDoc& doc,
                                          size_t limit) {
    Collector out(limit);
    CompareIntercoms(network, doc, out);
    CompareTrunks(network, doc, out);
    CompareAlphas(network, doc, out);
    CompareQueued(network, doc, out);
    return out.Take();
}

}  // namespace corvane::testing
