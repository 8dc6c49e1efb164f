#include "document/DocumentPreferences.h"

#include <climits>

#include "document/VorlinDoc.h"
#include "link/Quillex.h"
#include "platform/StringTable.h"
#include "store/VorlinDatabase.h"
#include "testing/RT2M.h"
#include "testing/Tonexa.h"

namespace corvane {

namespace {

PrefListEntry NoneEntry() {
    return {"None", INT_MAX};
}

}  // namespace

std::vector<PrefListEntry> CDocumentPreferences::IntercomEntries() const {
    std::vector<PrefListEntry> entries{NoneEntry()};
    for (int intercom = 1; intercom < kIntercomCount; ++intercom) {
        if (!doc_.GetIntercomTexts(intercom).name.empty()) {
            entries.push_back({doc_.GetIntercomName(intercom), intercom});
        }
    }
    return entries;
}

std::vector<PrefListEntry> CDocumentPreferences::PortEntries(int intercom) const {
    std::vector<PrefListEntry> entries{NoneEntry()};
    CVorlinDatabase* db = doc_.Database();
    if (db == nullptr || !db->IsOpen()) {
        return entries;
    }
    for (int port = 1; port <= 1024; ++port) {
        const std::string alpha = db->GetAlphaText(intercom, 0, port);
        if (!alpha.empty()) {
            entries.push_back(
                {CVorlinDoc::GetAlphaDisplayName(0, port) + " [" + alpha + "]", port});
        }
    }
    return entries;
}

bool CDocumentPreferences::HasExtendedIntercomCapability() const {
    return doc_.Controller() != nullptr && doc_.Controller()->HasExtendedIntercomCapability();
}

void CDocumentPreferences::RequestDisconnect() {
    if (CQuillex* c = doc_.Controller()) {
        c->RequestDisconnect();
    }
}

bool CDocumentPreferences::IsDisconnected() const {
    return doc_.Controller() == nullptr || doc_.Controller()->IsDisconnected();
}

void CDocumentPreferences::SetNetworkAddresses(const std::string& main,
                                               const std::string& partner) {
    if (CQuillex* c = doc_.Controller()) {
        c->SetNetworkAddresses(main, partner);
    }
}

void CDocumentPreferences::SetSerialPort(const std::string& port) {
    if (CQuillex* c = doc_.Controller()) {
        c->SetSerialPort(port);
    }
}

void CDocumentPreferences::SetMaintenancePortRequest(int intercom, int port) {
    if (CQuillex* c = doc_.Controller()) {
        c->SetMaintenancePortRequest(intercom, port);
    }
}

bool CDocumentPreferences::HasTester() const {
    return doc_.Tester() != nullptr;
}

void CDocumentPreferences::StopTester() {
    if (CTrunkTester* t = doc_.Tester()) {
        t->Stop();
    }
}

bool CDocumentPreferences::IsTesterStopped() const {
    return doc_.Tester() == nullptr || doc_.Tester()->IsStopped();
}

void CDocumentPreferences::DeleteTester() {
    doc_.DeleteTester();
}

void CDocumentPreferences::SetTesterDisconnectRequested(bool on) {
    if (CTrunkTester* t = doc_.Tester()) {
        t->SetDisconnectRequested(on);
    }
}

bool CDocumentPreferences::IsTesterDisconnectRequested() const {
    return doc_.Tester() != nullptr && doc_.Tester()->IsDisconnectRequested();
}

void CDocumentPreferences::SetTesterReinitRequested(bool on) {
    if (CTrunkTester* t = doc_.Tester()) {
        t->SetReinitRequested(on);
    }
}

bool CDocumentPreferences::CreateTester() {
    return doc_.StartTester();
}

void CDocumentPreferences::RaiseTesterResend(TesterSetting setting) {
    CTrunkTester* tester = doc_.Tester();
    if (auto* tonexa = dynamic_cast<CTonexa*>(tester)) {
        switch (setting) {
            case TesterSetting::TonexaTxFrequency:
                tonexa->SetResendFrequency();
                break;
            case TesterSetting::TonexaTxLevel:
                tonexa->SetResendLevel();
                break;
            case TesterSetting::TonexaImpedance:
                tonexa->SetResendImpedance();
                break;
            default:
                break;
        }
    } else if (auto* rt2m = dynamic_cast<CRT2M*>(tester)) {
        switch (setting) {
            case TesterSetting::Rt2mFrequency:
                rt2m->SetFrequencyChanged();
                break;
            case TesterSetting::Rt2mOutputImpedance:
                rt2m->SetOutputImpedanceChanged();
                break;
            case TesterSetting::Rt2mInputImpedance:
                rt2m->SetInputImpedanceChanged();
                break;
            default:
                break;
        }
    }
}

void CDocumentPreferences::SetLoopbackDue() {
    doc_.SetLoopbackDue(true);
}

void CDocumentPreferences::UpdateAllViews(uint32_t hint, int64_t payload) {
    doc_.UpdateAllViews(nullptr, hint, {nullptr, static_cast<int>(payload)});
}

void CDocumentPreferences::ResetTestScheduleDay() {
    doc_.ResetTestScheduleDay();
}

}  // namespace corvane
