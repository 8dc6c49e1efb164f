#pragma once

#include "document/PreferenceTarget.h"

namespace corvane {

class CVorlinDoc;
class SharedSettings;

// The document, its controller and its test instrument as the preference pages reach them.
class CDocumentPreferences final : public IPreferenceTarget {
public:
    CDocumentPreferences(CVorlinDoc& doc, const SharedSettings& settings)
        : doc_(doc), settings_(settings) {}

    std::vector<PrefListEntry> IntercomEntries() const override;
    std::vector<PrefListEntry> PortEntries(int intercom) const override;
    bool HasExtendedIntercomCapability() const override;

    void RequestDisconnect() override;
    bool IsDisconnected() const override;
    void SetNetworkAddresses(const std::string& main, const std::string& partner) override;
    void SetSerialPort(const std::string& port) override;
    void SetMaintenancePortRequest(int intercom, int port) override;

    bool HasTester() const override;
    void StopTester() override;
    bool IsTesterStopped() const override;
    void DeleteTester() override;
    void SetTesterDisconnectRequested(bool on) override;
    bool IsTesterDisconnectRequested() const override;
    void SetTesterReinitRequested(bool on) override;
    bool CreateTester() override;
    void RaiseTesterResend(TesterSetting setting) override;

    void SetLoopbackDue() override;
    void UpdateAllViews(uint32_t hint, int64_t payload) override;
    void ResetTestScheduleDay() override;

private:
    CVorlinDoc& doc_;
    const SharedSettings& settings_;
};

}  // namespace corvane
