#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

// One entry of a name list: the text shown and the number it stands for.
struct PrefListEntry {
    std::string text;
    int data = 0;
};

// An instrument setting whose change the instrument's worker must send again.
enum class TesterSetting {
    TonexaTxFrequency,
    TonexaTxLevel,
    TonexaImpedance,
    Rt2mFrequency,
    Rt2mOutputImpedance,
    Rt2mInputImpedance,
};

// What the preference pages need from the document, the controller and the test instrument.
// Every call comes from the user-interface thread. The document implements it; a sheet run
// without one only edits and saves the settings.
class IPreferenceTarget {
public:
    virtual ~IPreferenceTarget() = default;

    // --- Names for the configuration page. ---
    // "None" (data INT_MAX), then the intercoms with a name, and with ShowNamelessIntercoms
    // those without one too, under an empty name.
    virtual std::vector<PrefListEntry> IntercomEntries() const = 0;
    // "None" (data INT_MAX), then the named ports of an intercom, "alpha - [display name]".
    virtual std::vector<PrefListEntry> PortEntries(int intercom) const = 0;
    // The controller reports intercom numbers up to 255 rather than 31.
    virtual bool HasExtendedIntercomCapability() const = 0;

    // --- The controller link. ---
    virtual void RequestDisconnect() = 0;
    virtual bool IsDisconnected() const = 0;
    virtual void SetNetworkAddresses(const std::string& main, const std::string& partner) = 0;
    virtual void SetSerialPort(const std::string& port) = 0;
    virtual void SetMaintenancePortRequest(int intercom, int port) = 0;

    // --- The test instrument. ---
    virtual bool HasTester() const = 0;
    virtual void StopTester() = 0;
    virtual bool IsTesterStopped() const = 0;
    // Deletes the stopped instrument and clears the document's pointer to it.
    virtual void DeleteTester() = 0;
    virtual void SetTesterDisconnectRequested(bool on) = 0;
    virtual bool IsTesterDisconnectRequested() const = 0;
    virtual void SetTesterReinitRequested(bool on) = 0;
    // Creates the instrument the settings now name (`CVorlinDoc::CreateTester`) and starts
    // it; false when none could be created.
    virtual bool CreateTester() = 0;
    // Raises the instrument's resend flag for the setting when the instrument is of the kind
    // the setting belongs to; does nothing otherwise.
    virtual void RaiseTesterResend(TesterSetting setting) = 0;

    // --- The document and the application. ---
    // The next trunk test measures the instrument port's loop-back first.
    virtual void SetLoopbackDue() = 0;
    // Every view of the document, no sender, with the hint and its payload.
    virtual void UpdateAllViews(uint32_t hint, int64_t payload) = 0;
    // The automatic schedule forgets the day it saw last, so its next tick only records it.
    virtual void ResetTestScheduleDay() = 0;
};

}  // namespace corvane
