#pragma once

#include <string>

namespace corvane {

// What a connection needs of the controller object that owns it.
class IConnectionOwner {
public:
    // May throw CAppDied or CConnection::CDied to interrupt a transaction.
    virtual void CheckAbort() = 0;
    virtual void OnContactLost() = 0;
    virtual void OnContactRegained() = 0;
    // The main and partner address texts, empty where none.
    virtual void SetPartnerAddresses(const std::string& main, const std::string& partner) = 0;

protected:
    ~IConnectionOwner() = default;
};

}  // namespace corvane
