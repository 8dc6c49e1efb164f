#include "presentation/DeviceSearchList.h"

#include <algorithm>
#include <cctype>

#include "presentation/DeviceSearchTexts.h"

namespace corvane {

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string ReplaceFirst(std::string text, const std::string& marker, const std::string& value) {
    const size_t at = text.find(marker);
    if (at != std::string::npos) {
        text.replace(at, marker.size(), value);
    }
    return text;
}

const std::string& StatusText(bool active) {
    return DeviceSearchString(active ? devicesearchtext::kActive : devicesearchtext::kStandby);
}

}  // namespace

CDeviceSearchList::CDeviceSearchList(bool intercoms, std::string currentName)
    : intercoms_(intercoms), currentName_(std::move(currentName)) {}

int CDeviceSearchList::QueryCommand() const {
    return intercoms_ ? devicefinder::kAskIntercoms : devicefinder::kAskControllers;
}

DeviceSearchTitles CDeviceSearchList::Titles() const {
    const int first =
        intercoms_ ? devicesearchtext::kIntercomsGroup : devicesearchtext::kQuillexsGroup;
    DeviceSearchTitles t;
    t.group = DeviceSearchString(first);
    t.selectedGroup = DeviceSearchString(first + 1);
    t.window = DeviceSearchString(first + 2);
    t.helpId = intercoms_ ? 301 : 303;
    t.iconId = intercoms_ ? 302 : 304;
    return t;
}

bool CDeviceSearchList::Wants(const DeviceFinderReply& reply) const {
    if (intercoms_) {
        return reply.deviceType >= 1 && !IsControllerDeviceType(reply.deviceType);
    }
    return reply.deviceType == 7 || reply.deviceType == 9;
}

bool CDeviceSearchList::Before(const DeviceFinderReply& a, const DeviceFinderReply& b) const {
    const std::string ta = Lower(ItemText(a));
    const std::string tb = Lower(ItemText(b));
    return ta != tb ? ta < tb : a.sourceAddress < b.sourceAddress;
}

CDeviceSearchList::Outcome CDeviceSearchList::Add(const DeviceFinderReply& reply,
                                                  bool anythingSelected) {
    Outcome outcome;
    if (!Wants(reply)) {
        return outcome;
    }
    outcome.key = reply.sourceAddress;
    const auto known = devices_.find(reply.sourceAddress);
    if (known != devices_.end()) {
        // Keeps its place in the tree; only what it shows changes.
        known->second = reply;
        outcome.change = Change::kUpdated;
        outcome.row =
            static_cast<int>(std::find(order_.begin(), order_.end(), outcome.key) - order_.begin());
        return outcome;
    }
    devices_.emplace(reply.sourceAddress, reply);
    const auto at = std::find_if(order_.begin(), order_.end(),
                                 [&](uint32_t key) { return Before(reply, devices_.at(key)); });
    outcome.row = static_cast<int>(at - order_.begin());
    order_.insert(at, reply.sourceAddress);
    outcome.change = Change::kAdded;
    outcome.select = !anythingSelected && reply.name == currentName_;
    return outcome;
}

const DeviceFinderReply* CDeviceSearchList::Find(uint32_t key) const {
    const auto it = devices_.find(key);
    return it == devices_.end() ? nullptr : &it->second;
}

std::vector<uint32_t> CDeviceSearchList::Keys() const {
    return order_;
}

void CDeviceSearchList::Clear() {
    devices_.clear();
    order_.clear();
}

std::string CDeviceSearchList::ItemText(const DeviceFinderReply& reply) {
    if (!IsControllerDeviceType(reply.deviceType)) {
        return reply.name;
    }
    return reply.name + " (" + StatusText(reply.active) + ")";
}

std::optional<std::string> CDeviceSearchList::FrameText(const DeviceFinderReply& reply) {
    if (reply.frameCount <= 1) {
        return std::nullopt;
    }
    std::string text = DeviceSearchString(devicesearchtext::kFrameOf);
    text = ReplaceFirst(text, "%u", std::to_string(reply.frameIndex + 1));
    return ReplaceFirst(text, "%u", std::to_string(reply.frameCount));
}

DeviceDetails CDeviceSearchList::Details(const DeviceFinderReply& reply) {
    DeviceDetails d;
    d.name = reply.name;
    d.type = DeviceTypeText(reply.deviceType);
    d.status = StatusText(reply.active);
    d.ipAddress = DottedIPv4(reply.sourceAddress);
    d.partnerAddress =
        HasPartnerAddress(reply.partnerAddress) ? DottedIPv4(reply.partnerAddress) : "";
    std::string connections = DeviceSearchString(devicesearchtext::kConnections);
    connections = ReplaceFirst(connections, "%1", std::to_string(reply.connections2));
    d.connections = ReplaceFirst(connections, "%2", std::to_string(reply.connections1));
    d.description = reply.description;
    return d;
}

ChosenDevice CDeviceSearchList::Choice(const DeviceFinderReply& reply) {
    return {reply.name, DottedIPv4(reply.sourceAddress),
            DottedIPv4(HasPartnerAddress(reply.partnerAddress) ? reply.partnerAddress : 0)};
}

}  // namespace corvane
