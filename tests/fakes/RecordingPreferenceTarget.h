#pragma once

#include <functional>
#include <string>
#include <vector>

#include "document/PreferenceTarget.h"

namespace corvane::testing {

// Records every call; the instrument and link answer as told.
struct RecordingTarget : IPreferenceTarget {
    std::vector<std::string> calls;
    bool tester = false;
    bool stops = true;
    bool creates = true;
    // How the link answers whether it is down; none: at once.
    std::function<bool()> disconnected;
    std::vector<PrefListEntry> IntercomEntries() const override { return {}; }
    std::vector<PrefListEntry> PortEntries(int) const override { return {}; }
    bool HasExtendedIntercomCapability() const override { return false; }
    void RequestDisconnect() override { calls.push_back("RequestDisconnect"); }
    bool IsDisconnected() const override { return !disconnected || disconnected(); }
    void SetNetworkAddresses(const std::string& m, const std::string& p) override {
        calls.push_back("SetNetworkAddresses " + m + " " + p);
    }
    void SetSerialPort(const std::string& port) override {
        calls.push_back("SetSerialPort " + port);
    }
    void SetMaintenancePortRequest(int i, int p) override {
        calls.push_back("SetMaintenancePortRequest " + std::to_string(i) + " " + std::to_string(p));
    }
    bool HasTester() const override { return tester; }
    void StopTester() override { calls.push_back("StopTester"); }
    bool IsTesterStopped() const override { return stops; }
    void DeleteTester() override {
        calls.push_back("DeleteTester");
        tester = false;
    }
    void SetTesterDisconnectRequested(bool) override { calls.push_back("SetTesterDisconnect"); }
    bool IsTesterDisconnectRequested() const override { return false; }
    void SetTesterReinitRequested(bool) override { calls.push_back("SetTesterReinit"); }
    bool CreateTester() override {
        calls.push_back("CreateTester");
        tester = creates;
        return creates;
    }
    void RaiseTesterResend(TesterSetting) override { calls.push_back("Resend"); }
    void SetLoopbackDue() override { calls.push_back("LoopbackDue"); }
    void UpdateAllViews(uint32_t hint, int64_t) override {
        calls.push_back("UpdateAllViews " + std::to_string(hint));
    }
    void ResetTestScheduleDay() override { calls.push_back("ResetTestScheduleDay"); }
};

}  // namespace corvane::testing
