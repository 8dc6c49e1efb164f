#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "link/DeviceFinderReply.h"

namespace corvane {

// What the search dialog shows in one mode.
struct DeviceSearchTitles {
    std::string group;          // "Intercoms" / "Quillexs"
    std::string selectedGroup;  // "Selected Intercom" / "Selected Quillex"
    std::string window;         // "Available Intercoms" / "Available Quillexs"
    int helpId = 0;             // 301 / 303
    int iconId = 0;             // 302 / 304
};

// The seven detail fields of the selected device.
struct DeviceDetails {
    std::string name, type, status, ipAddress, partnerAddress, connections, description;
    friend bool operator==(const DeviceDetails&, const DeviceDetails&) = default;
};

// What the caller takes after OK, addresses in dotted decimal.
struct ChosenDevice {
    std::string name, ipAddress, partnerAddress;
    friend bool operator==(const ChosenDevice&, const ChosenDevice&) = default;
};

// The devices that answered a search, one per source address, in the order the tree lists
// them: by item text, ignoring case, then by address.
class CDeviceSearchList {
public:
    enum class Change { kDropped, kUpdated, kAdded };
    struct Outcome {
        Change change = Change::kDropped;
        uint32_t key = 0;     // the device's source address
        int row = -1;         // its place in the list
        bool select = false;  // a new device named as the current one, with none selected
    };

    CDeviceSearchList(bool intercoms, std::string currentName);

    bool SearchesIntercoms() const { return intercoms_; }
    int QueryCommand() const;
    DeviceSearchTitles Titles() const;
    // Intercom mode: a type of 1 or more that is no controller; controller mode: 7 and 9.
    bool Wants(const DeviceFinderReply& reply) const;

    // Keeps the reply as its device's latest.
    Outcome Add(const DeviceFinderReply& reply, bool anythingSelected);
    const DeviceFinderReply* Find(uint32_t key) const;
    std::vector<uint32_t> Keys() const;
    size_t size() const { return order_.size(); }
    void Clear();

    // The tree item: the name, with " (Active)" or " (Standby)" for a controller.
    static std::string ItemText(const DeviceFinderReply& reply);
    // "Frame 1 of 2" for a reply that says it is one of several frames.
    static std::optional<std::string> FrameText(const DeviceFinderReply& reply);
    static DeviceDetails Details(const DeviceFinderReply& reply);
    // A device without a partner gives "0.0.0.0", the address that stands for none.
    static ChosenDevice Choice(const DeviceFinderReply& reply);

private:
    bool Before(const DeviceFinderReply& a, const DeviceFinderReply& b) const;

    bool intercoms_;
    std::string currentName_;
    std::map<uint32_t, DeviceFinderReply> devices_;
    std::vector<uint32_t> order_;
};

}  // namespace corvane
