// What a stop leaves to the controller of the operators' trunk commands.
#include <string>
#include <vector>

#include "document/DocumentWorkers.h"
#include "document/VorlinDoc.h"

namespace corvane {
namespace {

// "trunk 7" or "trunks 2-4, 9": runs of numbers in order, each as its first and last.
std::string TrunkList(const std::vector<int>& numbers) {
    std::string text = numbers.size() == 1 ? "trunk " : "trunks ";
    for (size_t i = 0; i < numbers.size();) {
        size_t last = i;
        while (last + 1 < numbers.size() && numbers[last + 1] == numbers[last] + 1) {
            ++last;
        }
        text += (i == 0 ? "" : ", ") + std::to_string(numbers[i]);
        if (last > i) {
            text += "-" + std::to_string(numbers[last]);
        }
        i = last + 1;
    }
    return text;
}

}  // namespace

std::string CVorlinDoc::DescribePendingTrunkOperations() const {
    std::vector<std::string> parts;
    if (workers_->sequencer != nullptr) {
        std::string work = workers_->sequencer->WorkInProgress();
        if (!work.empty()) {
            parts.push_back(std::move(work));
        }
    }
    std::vector<int> tests;
    std::vector<int> toMaintenance;
    std::vector<int> toService;
    for (int n = 1; n < kTrunkCount; ++n) {
        const TrunkPendingOps& ops = Trunks()[n].PendingOps();
        if (ops.testWanted != 0) {
            tests.push_back(n);
        }
        if (ops.setMaintenanceRequested != 0) {
            toMaintenance.push_back(n);
        }
        if (ops.clearMaintenanceRequested != 0) {
            toService.push_back(n);
        }
    }
    if (!tests.empty()) {
        parts.push_back("tests queued for " + TrunkList(tests));
    }
    if (!toMaintenance.empty()) {
        parts.push_back("maintenance mode asked for " + TrunkList(toMaintenance));
    }
    if (!toService.empty()) {
        parts.push_back("return to service asked for " + TrunkList(toService));
    }
    if (parts.empty()) {
        return "none is left";
    }
    std::string text = parts.front();
    for (size_t i = 1; i < parts.size(); ++i) {
        text += "; " + parts[i];
    }
    return text;
}

}  // namespace corvane
