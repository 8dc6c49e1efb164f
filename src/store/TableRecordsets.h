#pragma once

#include <string>

#include "store/DaoRecordset.h"

namespace corvane {

// One recordset class per table the program reads or writes row by row. Members follow
// the order in which the columns are bound; the bound type is the member's.

class CAlarmsRS : public CDaoRecordset {
public:
    explicit CAlarmsRS(CDaoDatabase& db);
    DaoInt32 m_AlarmID;
    DaoText m_State;
    DaoBool m_Acknowledged;
    DaoText m_DeviceType;
    DaoInt32 m_DeviceInstance;
    DaoText m_AlarmType;
    DaoText m_Description;
    DaoDate m_AlarmTime;
    DaoDate m_ResolvedTime;
    DaoDate m_AcknowledgedTime;
    DaoText m_Notification;
    DaoDate m_NotificationTime;
    DaoText m_Context;

protected:
    std::string GetDefaultSQL() const override { return "[Alarms]"; }
    void DoFieldExchange(CDaoFieldExchange& fx) override;
};

class CAlphasRS : public CDaoRecordset {
public:
    explicit CAlphasRS(CDaoDatabase& db);
    DaoInt16 m_IntercomIndex;
    DaoText m_Function;
    DaoInt16 m_Number;
    DaoText m_Alpha;
    DaoInt32 m_AsgnKey;

protected:
    std::string GetDefaultSQL() const override { return "[Alphas]"; }
    void DoFieldExchange(CDaoFieldExchange& fx) override;
};

class CDBStatusRS : public CDaoRecordset {
public:
    explicit CDBStatusRS(CDaoDatabase& db);
    DaoInt16 m_GlobalChange;
    DaoInt16 m_TrunkAdds;
    DaoInt16 m_TrunkDels;
    DaoInt16 m_TrunkEdits;
    DaoInt16 m_AlphaAdds;
    DaoInt16 m_AlphaDels;
    DaoInt16 m_AlphaEdits;
    DaoInt16 m_RequestAdds;
    DaoInt16 m_RequestDels;
    DaoInt16 m_RequestEdits;
    DaoInt16 m_IntercomAdds;
    DaoInt16 m_IntercomDels;
    DaoInt16 m_IntercomEdits;

protected:
    std::string GetDefaultSQL() const override { return "[dbStatus]"; }
    void DoFieldExchange(CDaoFieldExchange& fx) override;
};

class CIntercomsRS : public CDaoRecordset {
public:
    explicit CIntercomsRS(CDaoDatabase& db);
    DaoInt16 m_IntercomIndex;
    DaoText m_IntercomName;
    DaoInt16 m_SerialPort;
    DaoInt32 m_BaudRate;
    DaoText m_ComState;
    DaoInt32 m_ErrorCounter;
    DaoBool m_Alarms;
    DaoBool m_Notify;
    DaoText m_ConnType;
    DaoText m_IPAddr1;
    DaoText m_IPAddr2;
    DaoInt32 m_CascadeCost;  // an Integer column: values beyond 16 bits are refused

protected:
    std::string GetDefaultSQL() const override { return "[Intercoms]"; }
    void DoFieldExchange(CDaoFieldExchange& fx) override;
};

class CRequestsRS : public CDaoRecordset {
public:
    explicit CRequestsRS(CDaoDatabase& db);
    DaoText m_State;
    DaoDate m_RequestTime;
    DaoDate m_ActiveTime;
    DaoInt16 m_End1IntercomIndex;
    DaoText m_End1Function;
    DaoInt16 m_End1Number;
    DaoBool m_End1Talk;
    DaoBool m_End1Listen;
    DaoBool m_End1Inactive;
    DaoInt16 m_End2IntercomIndex;
    DaoText m_End2Function;
    DaoInt16 m_End2Number;
    DaoBool m_End2Talk;
    DaoBool m_End2Listen;
    DaoBool m_End2Inactive;
    DaoInt16 m_Trunk1Index;
    DaoInt16 m_Trunk2Index;
    DaoInt32 m_RequestID;
    DaoDate m_FinishedTime;

protected:
    std::string GetDefaultSQL() const override { return "[Requests]"; }
    void DoFieldExchange(CDaoFieldExchange& fx) override;
};

// The request columns that change while a request lives.
class CRequests2RS : public CDaoRecordset {
public:
    explicit CRequests2RS(CDaoDatabase& db);
    DaoText m_State;
    DaoInt16 m_End1IntercomIndex;
    DaoInt16 m_End1Number;
    DaoBool m_End1Talk;
    DaoBool m_End1Listen;
    DaoBool m_End1Inactive;
    DaoInt16 m_End2IntercomIndex;
    DaoInt16 m_End2Number;
    DaoBool m_End2Talk;
    DaoBool m_End2Listen;
    DaoBool m_End2Inactive;
    DaoInt32 m_RequestID;
    DaoDate m_FinishedTime;

protected:
    std::string GetDefaultSQL() const override { return "[Requests]"; }
    void DoFieldExchange(CDaoFieldExchange& fx) override;
};

// Any of the four state lookup tables, named when opened ("[TrunkStates]" ...).
class CStatesRS : public CDaoRecordset {
public:
    explicit CStatesRS(CDaoDatabase& db);
    DaoInt16 m_StateIndex;
    DaoText m_State;

protected:
    std::string GetDefaultSQL() const override { return "[States]"; }
    void DoFieldExchange(CDaoFieldExchange& fx) override;
};

class CSummaryRS : public CDaoRecordset {
public:
    explicit CSummaryRS(CDaoDatabase& db);
    DaoInt16 m_FromIntercomIndex;
    DaoInt16 m_ToIntercomIndex;
    DaoInt16 m_NumTrunks;
    DaoInt16 m_NumAllocated;
    DaoInt16 m_NumInUse;
    DaoInt16 m_NumMaint;
    DaoInt16 m_NumOOS;

protected:
    std::string GetDefaultSQL() const override { return "[TrunkSummary]"; }
    void DoFieldExchange(CDaoFieldExchange& fx) override;
};

class CTestResultsRS : public CDaoRecordset {
public:
    explicit CTestResultsRS(CDaoDatabase& db);
    DaoInt16 m_ResultIndex;
    DaoText m_TestResult{" "};  // the name of "no result"

protected:
    std::string GetDefaultSQL() const override { return "[TestResults]"; }
    void DoFieldExchange(CDaoFieldExchange& fx) override;
};

class CTrunksRS : public CDaoRecordset {
public:
    explicit CTrunksRS(CDaoDatabase& db);
    DaoInt16 m_TrunkIndex;
    DaoText m_State;
    DaoBool m_OOS;
    DaoDate m_TestTime;
    DaoText m_TestResult{" "};  // the name of "no result"
    DaoText m_TestData;
    DaoInt16 m_CascadedTrunkIndex;
    DaoBool m_UseFixed;
    DaoBool m_CanCascade;
    DaoInt16 m_End1IntercomIndex;
    DaoInt16 m_End1Number;
    DaoInt16 m_End2IntercomIndex;
    DaoInt16 m_End2Number;
    DaoInt16 m_Fixed1IntercomIndex;
    DaoText m_Fixed1Function;
    DaoInt16 m_Fixed1Number;
    DaoInt16 m_Fixed2IntercomIndex;
    DaoText m_Fixed2Function;
    DaoInt16 m_Fixed2Number;
    DaoBool m_Alarms;
    DaoBool m_AutoTest;
    DaoBool m_Notify;

protected:
    std::string GetDefaultSQL() const override { return "[Trunks]"; }
    void DoFieldExchange(CDaoFieldExchange& fx) override;
};

// The trunk state alone, so that a state change rewrites no other column.
class CTrunks2RS : public CDaoRecordset {
public:
    explicit CTrunks2RS(CDaoDatabase& db);
    DaoText m_State;

protected:
    std::string GetDefaultSQL() const override { return "[Trunks]"; }
    void DoFieldExchange(CDaoFieldExchange& fx) override;
};

}  // namespace corvane
