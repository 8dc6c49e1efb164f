#include "document/DocumentPreferences.h"

#include <climits>
#include <functional>

#include "document/VorlinDoc.h"
#include "link/Quillex.h"
#include "platform/StringTable.h"
#include "settings/AppSettings.h"
#include "store/ComboFillers.h"
#include "store/VorlinDatabase.h"
#include "testing/RT2M.h"
#include "testing/Tonexa.h"

namespace corvane {

namespace {

// The list as the page shows it; only "None" while the database is not open.
std::vector<PrefListEntry> Entries(CVorlinDatabase* db,
                                   const std::function<ChoiceList(CDaoDatabase&)>& fill) {
    if (db == nullptr || !db->IsOpen()) {
        return {{"None", INT_MAX}};
    }
    std::vector<PrefListEntry> entries;
    for (const Choice& choice : fill(db->Database())) {
        entries.push_back({choice.text, choice.data});
    }
    return entries;
}

}  // namespace

std::vector<PrefListEntry> CDocumentPreferences::IntercomEntries() const {
    const bool showNameless = settings_.Snapshot().ShowNamelessIntercoms;
    return Entries(doc_.Database(), [showNameless](CDaoDatabase& db) {
        return FillIntercomCombo(db, false, showNameless);
    });
}

std::vector<PrefListEntry> CDocumentPreferences::PortEntries(int intercom) const {
    return Entries(doc_.Database(),
                   [intercom](CDaoDatabase& db) { return FillPortCombo(db, intercom, false); });
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
