#include "store/TableRecordsets.h"

namespace corvane {

CAlarmsRS::CAlarmsRS(CDaoDatabase& db) : CDaoRecordset(db) {
    m_nDefaultType = DaoOpenType::Table;
}

void CAlarmsRS::DoFieldExchange(CDaoFieldExchange& fx) {
    fx.Bind("[AlarmID]", m_AlarmID);
    fx.Bind("[State]", m_State);
    fx.Bind("[Acknowledged]", m_Acknowledged);
    fx.Bind("[DeviceType]", m_DeviceType);
    fx.Bind("[DeviceInstance]", m_DeviceInstance);
    fx.Bind("[AlarmType]", m_AlarmType);
    fx.Bind("[Description]", m_Description);
    fx.Bind("[AlarmTime]", m_AlarmTime);
    fx.Bind("[ResolvedTime]", m_ResolvedTime);
    fx.Bind("[AcknowledgedTime]", m_AcknowledgedTime);
    fx.Bind("[Notification]", m_Notification);
    fx.Bind("[NotificationTime]", m_NotificationTime);
    fx.Bind("[Context]", m_Context);
}

CAlphasRS::CAlphasRS(CDaoDatabase& db) : CDaoRecordset(db) {
    m_nDefaultType = DaoOpenType::Table;
}

void CAlphasRS::DoFieldExchange(CDaoFieldExchange& fx) {
    fx.Bind("[IntercomIndex]", m_IntercomIndex);
    fx.Bind("[Function]", m_Function);
    fx.Bind("[Number]", m_Number);
    fx.Bind("[Alpha]", m_Alpha);
    fx.Bind("[AsgnKey]", m_AsgnKey);
}

CDBStatusRS::CDBStatusRS(CDaoDatabase& db) : CDaoRecordset(db) {
    m_nDefaultType = DaoOpenType::Table;
}

void CDBStatusRS::DoFieldExchange(CDaoFieldExchange& fx) {
    fx.Bind("[GlobalChange]", m_GlobalChange);
    fx.Bind("[TrunkAdds]", m_TrunkAdds);
    fx.Bind("[TrunkDels]", m_TrunkDels);
    fx.Bind("[TrunkEdits]", m_TrunkEdits);
    fx.Bind("[AlphaAdds]", m_AlphaAdds);
    fx.Bind("[AlphaDels]", m_AlphaDels);
    fx.Bind("[AlphaEdits]", m_AlphaEdits);
    fx.Bind("[RequestAdds]", m_RequestAdds);
    fx.Bind("[RequestDels]", m_RequestDels);
    fx.Bind("[RequestEdits]", m_RequestEdits);
    fx.Bind("[IntercomAdds]", m_IntercomAdds);
    fx.Bind("[IntercomDels]", m_IntercomDels);
    fx.Bind("[IntercomEdits]", m_IntercomEdits);
}

CIntercomsRS::CIntercomsRS(CDaoDatabase& db) : CDaoRecordset(db) {
    m_nDefaultType = DaoOpenType::Table;
}

void CIntercomsRS::DoFieldExchange(CDaoFieldExchange& fx) {
    fx.Bind("[IntercomIndex]", m_IntercomIndex);
    fx.Bind("[IntercomName]", m_IntercomName);
    fx.Bind("[SerialPort]", m_SerialPort);
    fx.Bind("[BaudRate]", m_BaudRate);
    fx.Bind("[ComState]", m_ComState);
    fx.Bind("[ErrorCounter]", m_ErrorCounter);
    fx.Bind("[Alarms]", m_Alarms);
    fx.Bind("[Notify]", m_Notify);
    fx.Bind("[ConnType]", m_ConnType);
    fx.Bind("[IPAddr1]", m_IPAddr1);
    fx.Bind("[IPAddr2]", m_IPAddr2);
    fx.Bind("[CascadeCost]", m_CascadeCost);
}

CRequestsRS::CRequestsRS(CDaoDatabase& db) : CDaoRecordset(db) {
    m_nDefaultType = DaoOpenType::Table;
}

void CRequestsRS::DoFieldExchange(CDaoFieldExchange& fx) {
    fx.Bind("[State]", m_State);
    fx.Bind("[RequestTime]", m_RequestTime);
    fx.Bind("[ActiveTime]", m_ActiveTime);
    fx.Bind("[End1IntercomIndex]", m_End1IntercomIndex);
    fx.Bind("[End1Function]", m_End1Function);
    fx.Bind("[End1Number]", m_End1Number);
    fx.Bind("[End1Talk]", m_End1Talk);
    fx.Bind("[End1Listen]", m_End1Listen);
    fx.Bind("[End1Inactive]", m_End1Inactive);
    fx.Bind("[End2IntercomIndex]", m_End2IntercomIndex);
    fx.Bind("[End2Function]", m_End2Function);
    fx.Bind("[End2Number]", m_End2Number);
    fx.Bind("[End2Talk]", m_End2Talk);
    fx.Bind("[End2Listen]", m_End2Listen);
    fx.Bind("[End2Inactive]", m_End2Inactive);
    fx.Bind("[Trunk1Index]", m_Trunk1Index);
    fx.Bind("[Trunk2Index]", m_Trunk2Index);
    fx.Bind("[RequestID]", m_RequestID);
    fx.Bind("[FinishedTime]", m_FinishedTime);
}

CRequests2RS::CRequests2RS(CDaoDatabase& db) : CDaoRecordset(db) {
    m_nDefaultType = DaoOpenType::Table;
}

void CRequests2RS::DoFieldExchange(CDaoFieldExchange& fx) {
    fx.Bind("[State]", m_State);
    fx.Bind("[End1IntercomIndex]", m_End1IntercomIndex);
    fx.Bind("[End1Number]", m_End1Number);
    fx.Bind("[End1Talk]", m_End1Talk);
    fx.Bind("[End1Listen]", m_End1Listen);
    fx.Bind("[End1Inactive]", m_End1Inactive);
    fx.Bind("[End2IntercomIndex]", m_End2IntercomIndex);
    fx.Bind("[End2Number]", m_End2Number);
    fx.Bind("[End2Talk]", m_End2Talk);
    fx.Bind("[End2Listen]", m_End2Listen);
    fx.Bind("[End2Inactive]", m_End2Inactive);
    fx.Bind("[RequestID]", m_RequestID);
    fx.Bind("[FinishedTime]", m_FinishedTime);
}

CStatesRS::CStatesRS(CDaoDatabase& db) : CDaoRecordset(db) {
    m_nDefaultType = DaoOpenType::Table;
}

void CStatesRS::DoFieldExchange(CDaoFieldExchange& fx) {
    fx.Bind("[StateIndex]", m_StateIndex);
    fx.Bind("[State]", m_State);
}

CSummaryRS::CSummaryRS(CDaoDatabase& db) : CDaoRecordset(db) {
    m_nDefaultType = DaoOpenType::Table;
}

void CSummaryRS::DoFieldExchange(CDaoFieldExchange& fx) {
    fx.Bind("[FromIntercomIndex]", m_FromIntercomIndex);
    fx.Bind("[ToIntercomIndex]", m_ToIntercomIndex);
    fx.Bind("[NumTrunks]", m_NumTrunks);
    fx.Bind("[NumAllocated]", m_NumAllocated);
    fx.Bind("[NumInUse]", m_NumInUse);
    fx.Bind("[NumMaint]", m_NumMaint);
    fx.Bind("[NumOOS]", m_NumOOS);
}

CTestResultsRS::CTestResultsRS(CDaoDatabase& db) : CDaoRecordset(db) {
    m_nDefaultType = DaoOpenType::Table;
}

void CTestResultsRS::DoFieldExchange(CDaoFieldExchange& fx) {
    fx.Bind("[ResultIndex]", m_ResultIndex);
    fx.Bind("[TestResult]", m_TestResult);
}

CTrunksRS::CTrunksRS(CDaoDatabase& db) : CDaoRecordset(db) {
    m_nDefaultType = DaoOpenType::Table;
}

void CTrunksRS::DoFieldExchange(CDaoFieldExchange& fx) {
    fx.Bind("[TrunkIndex]", m_TrunkIndex);
    fx.Bind("[State]", m_State);
    fx.Bind("[OOS]", m_OOS);
    fx.Bind("[TestTime]", m_TestTime);
    fx.Bind("[TestResult]", m_TestResult);
    fx.Bind("[TestData]", m_TestData);
    fx.Bind("[CascadedTrunkIndex]", m_CascadedTrunkIndex);
    fx.Bind("[UseFixed]", m_UseFixed);
    fx.Bind("[CanCascade]", m_CanCascade);
    fx.Bind("[End1IntercomIndex]", m_End1IntercomIndex);
    fx.Bind("[End1Number]", m_End1Number);
    fx.Bind("[End2IntercomIndex]", m_End2IntercomIndex);
    fx.Bind("[End2Number]", m_End2Number);
    fx.Bind("[Fixed1IntercomIndex]", m_Fixed1IntercomIndex);
    fx.Bind("[Fixed1Function]", m_Fixed1Function);
    fx.Bind("[Fixed1Number]", m_Fixed1Number);
    fx.Bind("[Fixed2IntercomIndex]", m_Fixed2IntercomIndex);
    fx.Bind("[Fixed2Function]", m_Fixed2Function);
    fx.Bind("[Fixed2Number]", m_Fixed2Number);
    fx.Bind("[Alarms]", m_Alarms);
    fx.Bind("[AutoTest]", m_AutoTest);
    fx.Bind("[Notify]", m_Notify);
}

CTrunks2RS::CTrunks2RS(CDaoDatabase& db) : CDaoRecordset(db) {
    m_nDefaultType = DaoOpenType::Table;
}

void CTrunks2RS::DoFieldExchange(CDaoFieldExchange& fx) {
    fx.Bind("[State]", m_State);
}

}  // namespace corvane
